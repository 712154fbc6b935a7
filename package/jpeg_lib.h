#pragma once

// libjpeg's headers need size_t and FILE declared first, and plain IJG
// releases leave out the C linkage block that libjpeg-turbo adds.
#include <cstddef>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace scrinst {

// ERREXIT and WARNMS without the C casts that the project's warnings reject.
// RaiseJpegError does not return: the error manager jumps out.
inline void RaiseJpegError(j_decompress_ptr cinfo, int code)
{
    cinfo->err->msg_code = code;
    cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
}

inline void EmitJpegWarning(j_decompress_ptr cinfo, int code)
{
    cinfo->err->msg_code = code;
    cinfo->err->emit_message(reinterpret_cast<j_common_ptr>(cinfo), -1);
}

}  // namespace scrinst
