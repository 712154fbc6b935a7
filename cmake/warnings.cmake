# One interface target carries the project's warnings so that third-party code
# (libjpeg, GoogleTest) is compiled with its own flags.
add_library(scrinst_warnings INTERFACE)
target_compile_options(scrinst_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference
  $<$<CXX_COMPILER_ID:GNU>:-Wduplicated-cond -Wlogical-op>)
