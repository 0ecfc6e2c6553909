# Hardening for every build, the protections Debian's own packages get:
# stack protector, relocations made read-only and bound at start-up,
# position-independent executables, and checked libc calls when optimising.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong)
add_link_options(LINKER:-z,relro LINKER:-z,now)

# _FORTIFY_SOURCE only works when optimising; the sanitizer and fuzzer builds,
# with their own checks of every call, go without it.
if(NOT QUILLANE_SANITIZE AND NOT QUILLANE_FUZZ)
  set(optimised "$<NOT:$<CONFIG:Debug>>")
  add_compile_options("$<${optimised}:-U_FORTIFY_SOURCE>" "$<${optimised}:-D_FORTIFY_SOURCE=2>")
endif()
