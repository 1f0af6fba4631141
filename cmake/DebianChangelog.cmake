# Writes the Debian changelog of the package from NEWS:
#   cmake -DNEWS=NEWS -DOUTPUT=changelog -DPACKAGE=name -DMAINTAINER="Name <address>" -P ...
# A NEWS release "1.1 (2026-12-08)" with its "  * " items becomes one changelog entry.
file(STRINGS "${NEWS}" lines)
set(entries "")
set(version "")

function(close_entry)
  if(version)
    execute_process(COMMAND date -u -R -d "${date} 12:00:00"
      OUTPUT_VARIABLE stamp OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND entries "\n -- ${MAINTAINER}  ${stamp}\n\n")
    set(entries "${entries}" PARENT_SCOPE)
  endif()
endfunction()

foreach(line IN LISTS lines)
  if(line MATCHES "^([0-9][0-9.]*) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
    close_entry()
    set(version "${CMAKE_MATCH_1}")
    set(date "${CMAKE_MATCH_2}")
    string(APPEND entries "${PACKAGE} (${version}) unstable; urgency=medium\n\n")
  elseif(version AND line MATCHES "^  ")
    string(APPEND entries "${line}\n")
  endif()
endforeach()
close_entry()
string(REGEX REPLACE "\n+$" "\n" entries "${entries}")
file(WRITE "${OUTPUT}" "${entries}")
