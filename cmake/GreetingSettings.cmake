# The greeting's settings: the web address and the year, written into one header
# (overlay/greeting_settings.h in the build tree) that only the code making the greeting line and
# the renderer's options include, so another address or year recompiles those alone. The code that
# makes the greeting line checks both when it is compiled, with the rule that checks --address and
# --year, so a build never prints a character its typeface lacks.
#
# card_greeting_settings: link it (PRIVATE) to reach the header.

# Each value as a C++ string literal's contents.
foreach(setting ADDRESS YEAR)
  if(setting STREQUAL ADDRESS)
    set(value "${CARD_PROJECT_ADDRESS}")
  else()
    set(value "${CARD_GREETING_YEAR}")
  endif()
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  set(CARD_GREETING_${setting}_LITERAL "${value}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/src/overlay/greeting_settings.h.in
  ${PROJECT_BINARY_DIR}/greeting-settings/overlay/greeting_settings.h @ONLY)
add_library(card_greeting_settings INTERFACE)
target_include_directories(card_greeting_settings INTERFACE ${PROJECT_BINARY_DIR}/greeting-settings)
