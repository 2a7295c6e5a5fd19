# Run by CPack on the staged package before it is packed: strips the programs as Debian's
# dh_strip does, symbols and the .comment and .note sections (compiler and toolchain
# notes that nothing reads at run time) taken out.
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
foreach(program ${programs})
  execute_process(COMMAND strip --remove-section=.comment --remove-section=.note ${program}
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
