# Host builds use Debian's libjpeg62-turbo; the Windows builds use the static
# decoder that scripts/setup builds from Debian's source package.
if(WIN32)
  set(SCRINST_DEPS_DIR "${CMAKE_SOURCE_DIR}/build/deps" CACHE PATH "Where scripts/setup put the mingw libraries")
  set(_jpeg_prefix "${SCRINST_DEPS_DIR}/libjpeg-${MINGW_TRIPLE}")
  if(NOT EXISTS "${_jpeg_prefix}/lib/libjpeg.a")
    message(FATAL_ERROR "No mingw libjpeg in ${_jpeg_prefix}: run scripts/setup first")
  endif()
  add_library(scrinst_libjpeg STATIC IMPORTED GLOBAL)
  set_target_properties(scrinst_libjpeg PROPERTIES
    IMPORTED_LOCATION "${_jpeg_prefix}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${_jpeg_prefix}/include")
else()
  find_package(JPEG REQUIRED)
  add_library(scrinst_libjpeg INTERFACE)
  target_link_libraries(scrinst_libjpeg INTERFACE JPEG::JPEG)
endif()
