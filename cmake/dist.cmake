# Users find what the build made in dist/: dist/bin for Linux programs,
# dist/win64 and dist/win32 for Windows ones, one folder per architecture.
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(SCRINST_DIST_DIR "${PROJECT_SOURCE_DIR}/dist/win64")
  else()
    set(SCRINST_DIST_DIR "${PROJECT_SOURCE_DIR}/dist/win32")
  endif()
else()
  set(SCRINST_DIST_DIR "${PROJECT_SOURCE_DIR}/dist/bin")
endif()

# The sanitizer build leaves dist/ alone: its programs are for tests only.
option(SCRINST_COPY_TO_DIST "Copy the built programs to dist/" ON)

# scrinst_copy_to_dist(TARGET [NAME]): copies the target's file there after
# each build, under NAME when given.
function(scrinst_copy_to_dist target)
  if(NOT SCRINST_COPY_TO_DIST)
    return()
  endif()
  if(ARGC GREATER 1)
    set(destination "${SCRINST_DIST_DIR}/${ARGV1}")
  else()
    set(destination "${SCRINST_DIST_DIR}/")
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory "${SCRINST_DIST_DIR}"
    COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:${target}>" "${destination}"
    VERBATIM)
endfunction()
