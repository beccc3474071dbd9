# Runs `cmake --install` of the build tree (BUILD_DIR) into a scratch directory (WORK_DIR)
# and checks where the programs, the extension header, the control libraries and the
# keyboard hook library land: the libraries in drive C's windows directory of the mapping,
# an existing one found without regard to case.
file(REMOVE_RECURSE "${WORK_DIR}")

function(install_with)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${ARGN}
            ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${output}")
  endif()
endfunction()

function(expect_file path)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

# VELCRUM_DRIVE_C names drive C; its existing "Windows" directory is used.
file(MAKE_DIRECTORY "${WORK_DIR}/drive/Windows")
install_with(VELCRUM_DRIVE_C=${WORK_DIR}/drive/ VELCRUM_ROOT=${WORK_DIR}/unused)
expect_file("${WORK_DIR}/prefix/bin/velcrum-run")
expect_file("${WORK_DIR}/prefix/bin/velcrum-bind")
expect_file("${WORK_DIR}/prefix/include/velcrum/velcrum_extension.h")
expect_file("${WORK_DIR}/drive/Windows/VORN_CC.DLL")
expect_file("${WORK_DIR}/drive/Windows/BWCC32.DLL")
expect_file("${WORK_DIR}/drive/Windows/KeyHKVL.DLL")
if(EXISTS "${WORK_DIR}/drive/windows" OR EXISTS "${WORK_DIR}/unused")
  message(FATAL_ERROR "a second windows directory was made")
endif()

# Without it, VELCRUM_ROOT/drive_c; without that, ~/.local/share/velcrum/drive_c.
install_with(--unset=VELCRUM_DRIVE_C VELCRUM_ROOT=${WORK_DIR}/root)
expect_file("${WORK_DIR}/root/drive_c/windows/VORN_CC.DLL")
expect_file("${WORK_DIR}/root/drive_c/windows/BWCC32.DLL")
install_with(--unset=VELCRUM_DRIVE_C --unset=VELCRUM_ROOT HOME=${WORK_DIR}/home)
expect_file("${WORK_DIR}/home/.local/share/velcrum/drive_c/windows/BWCC32.DLL")

file(REMOVE_RECURSE "${WORK_DIR}")
