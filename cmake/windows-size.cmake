# Every package carries the installer stub, so Windows programs are built for
# size and linked statically: a package must run on a bare Windows with nothing
# but system DLLs.
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
