# Compile settings shared by the project's own targets. Each target asks for them; nothing is set
# globally, so a parent project or a packaging build keeps its own flags.

# Warnings fail the build on CI, where nobody reads them otherwise.
if(DEFINED ENV{CI} AND "$ENV{CI}" STREQUAL "true")
  set(_card_werror_default ON)
else()
  set(_card_werror_default OFF)
endif()
option(CARD_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ${_card_werror_default})

# card_warnings(<target> [STRICT]): the usual warnings; STRICT adds the shadowing and narrowing
# checks that the toolkit-free core keeps clean.
function(card_warnings target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "STRICT" "" "")
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(arg_STRICT)
    target_compile_options(${target} PRIVATE -Wshadow -Wconversion)
  endif()
  if(CARD_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# card_settings: what every target that computes card values is compiled with, PUBLIC through
# card_core because the card's maths lives in inline headers that its users compile too. A card must
# come out bit-identical with every compiler and machine, so no fused multiply-add and no
# reassociation (never -ffast-math). errno from the maths library is never read, which lets sqrt
# compile to the instruction.
add_library(card_settings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(card_settings INTERFACE -ffp-contract=off -fno-math-errno)
endif()
if(EMSCRIPTEN)
  # The core throws and catches the card's run-time errors, which WebAssembly builds only catch
  # when asked to. SIMD vectorizes the exact operations only: contraction stays off. Optimised as
  # one program at link time: about a tenth off a card, the same pixels. The core keeps GCC's
  # -Wconversion clean; Clang's adds every signed-to-unsigned index conversion.
  target_compile_options(card_settings INTERFACE
    -fexceptions -msimd128 -flto -Wno-sign-conversion)
  target_link_options(card_settings INTERFACE -fexceptions -flto)
endif()

# card_hardening(<target>): Debian's hardening for what gets installed: stack protector, checked
# buffer functions, read-only relocations bound at start. None of it touches floating point.
if(EMSCRIPTEN)
  set(_card_hardening_default OFF)
else()
  set(_card_hardening_default ON)
endif()
option(CARD_HARDENING "Build the programs with stack protection, _FORTIFY_SOURCE and full RELRO"
  ${_card_hardening_default})
function(card_hardening target)
  if(NOT CARD_HARDENING OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    return()
  endif()
  target_compile_options(${target} PRIVATE -fstack-protector-strong)
  # The checked functions need optimization; a Debug build goes without them.
  target_compile_definitions(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE LINKER:-z,relro,-z,now)
  endif()
endfunction()
