# The greeting's settings: the web address and the year, written into one header
# (overlay/greeting_settings.h in the build tree) that only the code making the greeting line and
# the renderer's options include, so another address or year recompiles those alone. Each value
# is checked here against the greeting's typeface, so a build never prints a character it lacks.
#
# card_greeting_settings: link it (PRIVATE) to reach the header.

set(_card_font_table ${PROJECT_SOURCE_DIR}/src/overlay/greeting_font_table.inc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_card_font_table})
# The table names its characters in a comment line: "// characters: FIRST-LAST".
file(STRINGS ${_card_font_table} _card_font_range REGEX "^// characters: [0-9]+-[0-9]+$")
if(NOT _card_font_range MATCHES "([0-9]+)-([0-9]+)$")
  message(FATAL_ERROR "${_card_font_table} does not say which characters it holds")
endif()
set(_card_font_first ${CMAKE_MATCH_1})
set(_card_font_last ${CMAKE_MATCH_2})

if(CARD_PROJECT_ADDRESS STREQUAL "")
  message(FATAL_ERROR "CARD_PROJECT_ADDRESS is empty: the greeting needs a web address")
endif()
string(HEX "${CARD_PROJECT_ADDRESS}" _card_address_hex)
string(LENGTH "${_card_address_hex}" _card_hex_length)
set(_card_at 0)
while(_card_at LESS _card_hex_length)
  string(SUBSTRING "${_card_address_hex}" ${_card_at} 2 _card_byte)
  math(EXPR _card_code "0x${_card_byte}")
  if(_card_code LESS _card_font_first OR _card_code GREATER _card_font_last)
    message(FATAL_ERROR "CARD_PROJECT_ADDRESS \"${CARD_PROJECT_ADDRESS}\" holds a character "
      "(byte 0x${_card_byte}) that the greeting's typeface lacks: it prints printable ASCII "
      "only (codes ${_card_font_first} to ${_card_font_last})")
  endif()
  math(EXPR _card_at "${_card_at} + 2")
endwhile()

if(NOT CARD_GREETING_YEAR MATCHES "^[0-9][0-9]?[0-9]?[0-9]?$")
  message(FATAL_ERROR "CARD_GREETING_YEAR must be a year of 1 to 4 digits, not "
    "\"${CARD_GREETING_YEAR}\"")
endif()

# The address as a C++ string literal's contents.
string(REPLACE "\\" "\\\\" CARD_GREETING_ADDRESS_LITERAL "${CARD_PROJECT_ADDRESS}")
string(REPLACE "\"" "\\\"" CARD_GREETING_ADDRESS_LITERAL "${CARD_GREETING_ADDRESS_LITERAL}")
configure_file(${PROJECT_SOURCE_DIR}/src/overlay/greeting_settings.h.in
  ${PROJECT_BINARY_DIR}/greeting-settings/overlay/greeting_settings.h @ONLY)
add_library(card_greeting_settings INTERFACE)
target_include_directories(card_greeting_settings INTERFACE ${PROJECT_BINARY_DIR}/greeting-settings)
