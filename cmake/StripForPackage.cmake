# Run by CPack on the staged files before it builds the package: the programs lose the sections
# that Debian's packaging tools remove as well (see CPACK_PRE_BUILD_SCRIPTS in Packaging.cmake).
file(GLOB_RECURSE card_programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS card_programs)
  execute_process(COMMAND ${CPACK_CARD_STRIP} --remove-section=.comment --remove-section=.note
                          --strip-unneeded ${program}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
