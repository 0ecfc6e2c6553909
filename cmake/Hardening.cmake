# Hardening for every build, the protections Debian's own packages get:
# stack protector, relocations made read-only and bound at start-up,
# position-independent executables, and checked libc calls when optimising.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

if(QUILLANE_GNU_LIKE)
  add_compile_options(-fstack-protector-strong)

  # _FORTIFY_SOURCE only works when optimising; the sanitizer and fuzzer
  # builds, with their own checks of every call, go without it.
  if(NOT QUILLANE_SANITIZE AND NOT QUILLANE_FUZZ)
    set(optimised "$<NOT:$<CONFIG:Debug>>")
    add_compile_options("$<${optimised}:-U_FORTIFY_SOURCE>" "$<${optimised}:-D_FORTIFY_SOURCE=2>")
  endif()
endif()

# RELRO is an ELF feature: Apple's and Windows' linkers have no -z.
if(QUILLANE_GNU_LIKE AND CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

# Control Flow Guard is what MSVC has in place of the above.
if(MSVC)
  add_compile_options(/guard:cf)
  add_link_options(/guard:cf)
endif()
