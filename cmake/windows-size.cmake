# Every package carries the installer stub, so Windows programs are built for
# size and linked statically: a package must run on a bare Windows with nothing
# but system DLLs.
add_compile_options(-Os -ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# No link time in the file header: the same sources give the same stub, byte
# for byte, so two packages built from them can be compared.
add_link_options(-Wl,--no-insert-timestamp)

# Link-time optimisation lets the compiler see the whole installer at once:
# helpers used from one place are inlined and constants folded across files
# (with the setting below, the i686 installer is about 13 KB smaller).
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)

# Nothing in the Windows programs asks an object for its type, and without
# type information a class with two interfaces no longer pulls in the
# runtime's multiple-inheritance support. Catching exceptions still works: a
# throw emits the thrown type's description whatever this flag says. It has to
# hold for every file alike: at link time a class whose virtual table has a
# type slot in one file and none in another is two conflicting definitions
# (GCC's -Wodr warning about scrinst::Error).
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
