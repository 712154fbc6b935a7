#pragma once

#include <csetjmp>
#include <cstdint>
#include <span>

#include "bitmap.h"
#include "jpeg_lib.h"
#include "jpeg_source.h"

namespace scrinst {

// A progressive file may hold any number of scans, and each scan is a pass
// over every block of its components however few bytes it has: a small file
// of many empty scans would keep the installer busy for minutes. Real
// encoders write about a dozen scans, so both the count and the total work
// are capped. The largest bitmap holds 4 Mi blocks of 8 x 8 pixels (at one
// byte a pixel); libjpeg's standard progression reads each block about six
// times, so eight passes over that many blocks admits it at any size the
// bitmap limit allows, while the worst file costs a few seconds, not minutes.
inline constexpr int kMaxJpegScans = 500;
inline constexpr std::uint64_t kMaxJpegScanBlocks = 8 * (kMaxBitmapBytes / 64);

// libjpeg's own working memory, above all the whole-image coefficient buffer of
// a multi-scan picture: two bytes per sample, so six bytes a pixel for a
// full-resolution colour picture, twice its 24-bit bitmap. Twice the bitmap
// limit plus room for the row buffers lets every such picture that the bitmap
// limit admits decode, and nothing can make libjpeg take more.
inline constexpr long kMaxJpegWorkingMemory =
    static_cast<long>(2 * kMaxBitmapBytes + std::uint64_t{32} * 1024 * 1024);

// One decompressor over bytes in memory, with the error manager, data source
// and progress monitor it points to. libjpeg reports errors by calling
// error_exit, which must not return; here it longjmps back into Run, the only
// place that calls setjmp. Steps run by Run are plain functions whose locals
// need no destructors, so the jump skips nothing; C++ exceptions are thrown
// only after Run has returned. libjpeg keeps pointers into the session, so it
// neither copies nor moves.
class JpegSession {
public:
    explicit JpegSession(std::span<const std::uint8_t> data) noexcept;
    ~JpegSession();
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;

    jpeg_decompress_struct& cinfo() noexcept { return cinfo_; }

    // Calls step(session, context); false when libjpeg stopped it with an
    // error. The decompressor is then fit only for Fail or Destroy.
    using Step = void (*)(JpegSession& session, void* context);
    bool Run(Step step, void* context) noexcept;

    // Creates the decompressor, attaches the bytes and reads the markers up to
    // the first scan; false on an error, as Run.
    bool ReadHeader() noexcept;

    // Destroys the decompressor, then throws the error that stopped it.
    [[noreturn]] void Fail();

    // Releases libjpeg's memory; safe to call more than once.
    void Destroy() noexcept;

private:
    struct ErrorManager {
        jpeg_error_mgr pub;
        std::jmp_buf jump;
    };

    static void IgnoreMessage(j_common_ptr cinfo, int level);
    static void IgnoreOutput(j_common_ptr cinfo);
    static void FormatNoText(j_common_ptr cinfo, char* buffer);
    static void ResetErrors(j_common_ptr cinfo);
    static void MonitorProgress(j_common_ptr cinfo);
    static void CreateAndReadHeader(JpegSession& session, void* context);
    [[noreturn]] static void JumpOut(j_common_ptr cinfo);

    jpeg_decompress_struct cinfo_{};
    ErrorManager errors_{};
    jpeg_progress_mgr progress_{};
    JpegMemorySource source_{};
    std::span<const std::uint8_t> data_;
    int countedScan_ = 0;
    std::uint64_t scanBlocks_ = 0;  // blocks of all scans begun so far
    bool tooManyScans_ = false;
};

}  // namespace scrinst
