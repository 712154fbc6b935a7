#include "jpeg_session.h"

#include <string>

#include "error.h"
#include "messages.h"

// On 64-bit Windows, setjmp records its frame and longjmp then unwinds every
// frame in between through the system's unwinder, which needs unwind tables
// that libjpeg (built for size, in C) does not carry: the jump would crash.
// Without a frame, longjmp restores the registers directly, which is all a
// jump over frames without destructors needs.
#if defined(_WIN64) && defined(__MINGW32__)
#define SCRINST_SETJMP(buffer) _setjmp((buffer), nullptr)
#else
#define SCRINST_SETJMP(buffer) setjmp(buffer)
#endif

namespace scrinst {

JpegSession::JpegSession(std::span<const std::uint8_t> data) noexcept : data_(data)
{
    // The error manager is filled in here rather than by jpeg_std_error,
    // which would link libjpeg's table of message texts (about 5 KB in every
    // package) for nothing: errors are reported by their code, and no
    // message is ever formatted or printed.
    jpeg_error_mgr& errors = errors_.pub;
    errors.error_exit = JumpOut;
    // A window program has no console, and warnings change nothing here:
    // data that ends early or is slightly corrupt still shows what it can.
    errors.emit_message = IgnoreMessage;
    errors.output_message = IgnoreOutput;
    errors.format_message = FormatNoText;
    errors.reset_error_mgr = ResetErrors;
    errors.msg_code = 0;
    errors.trace_level = 0;
    errors.num_warnings = 0;
    errors.jpeg_message_table = nullptr;
    errors.last_jpeg_message = 0;
    errors.addon_message_table = nullptr;
    errors.first_addon_message = 0;
    errors.last_addon_message = 0;
    cinfo_.err = &errors;
    cinfo_.client_data = this;
    progress_.progress_monitor = MonitorProgress;
}

JpegSession::~JpegSession()
{
    Destroy();
}

bool JpegSession::Run(Step step, void* context) noexcept
{
    if (SCRINST_SETJMP(errors_.jump) != 0) {
        return false;
    }
    step(*this, context);
    return true;
}

bool JpegSession::ReadHeader() noexcept
{
    return Run(CreateAndReadHeader, nullptr);
}

void JpegSession::Fail()
{
    const bool tooManyScans = tooManyScans_;
    const int code = errors_.pub.msg_code;
    Destroy();
    if (tooManyScans) {
        throw Error(std::string(messages::kJpegTooManyScans));
    }
    throw Error(messages::JpegError(code));
}

void JpegSession::Destroy() noexcept
{
    // Safe on a decompressor that was never created or failed half-way:
    // libjpeg frees only what its memory manager recorded.
    jpeg_destroy_decompress(&cinfo_);
}

void JpegSession::CreateAndReadHeader(JpegSession& session, void*)
{
    jpeg_decompress_struct& cinfo = session.cinfo_;
    jpeg_CreateDecompress(&cinfo, JPEG_LIB_VERSION, sizeof cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegWorkingMemory;
    cinfo.progress = &session.progress_;
    AttachMemorySource(cinfo, session.source_, session.data_);
    jpeg_read_header(&cinfo, TRUE);
}

// libjpeg's error_exit must not return. The message code stays in the error
// manager for Fail to report.
void JpegSession::JumpOut(j_common_ptr cinfo)
{
    auto* session = static_cast<JpegSession*>(cinfo->client_data);
    std::longjmp(session->errors_.jump, 1);
}

void JpegSession::IgnoreMessage(j_common_ptr, int) {}

void JpegSession::IgnoreOutput(j_common_ptr) {}

void JpegSession::FormatNoText(j_common_ptr, char* buffer)
{
    buffer[0] = '\0';
}

// libjpeg calls this as it starts reading each picture's header.
void JpegSession::ResetErrors(j_common_ptr cinfo)
{
    cinfo->err->num_warnings = 0;
    cinfo->err->msg_code = 0;
}

void JpegSession::MonitorProgress(j_common_ptr cinfo)
{
    // libjpeg calls this before each step of input while it reads the scans
    // of a multi-scan picture, so a long run of scans stops as soon as it
    // passes a limit, before the work of the scan that passes it.
    if (cinfo->is_decompressor == 0) {
        return;
    }
    auto& session = *static_cast<JpegSession*>(cinfo->client_data);
    const auto* decompressor = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompressor->input_scan_number != session.countedScan_) {
        session.countedScan_ = decompressor->input_scan_number;
        for (int i = 0; i < decompressor->comps_in_scan; ++i) {
            const jpeg_component_info* component = decompressor->cur_comp_info[i];
            session.scanBlocks_ +=
                std::uint64_t{component->width_in_blocks} * std::uint64_t{component->height_in_blocks};
        }
    }
    if (decompressor->input_scan_number > kMaxJpegScans || session.scanBlocks_ > kMaxJpegScanBlocks) {
        session.tooManyScans_ = true;
        JumpOut(cinfo);
    }
}

}  // namespace scrinst
