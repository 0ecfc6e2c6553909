# Run by cpack once the .deb is written. Each ar member header (name 16 bytes,
# time 12, owner 6, group 6, mode 8, size 10, "`\n") carries the mode of
# cpack's temporary file, and so the builder's umask: set it to 100644, as
# dpkg-deb writes it, so that the package's bytes do not depend on the umask.
foreach(deb ${CPACK_PACKAGE_FILES})
  file(READ "${deb}" magic LIMIT 8)
  if(NOT magic STREQUAL "!<arch>\n")
    message(FATAL_ERROR "${deb}: not an ar archive")
  endif()
  file(SIZE "${deb}" total)
  set(header 8)
  while(header LESS total)
    math(EXPR size_at "${header} + 48")
    file(READ "${deb}" size OFFSET ${size_at} LIMIT 10)
    string(STRIP "${size}" size)
    if(NOT size MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${deb}: bad ar member header at byte ${header}")
    endif()
    math(EXPR mode_at "${header} + 40")
    execute_process(
      COMMAND sh -c "printf '100644  ' | dd of=\"$1\" bs=1 seek=$2 conv=notrunc status=none" sh "${deb}" ${mode_at}
      COMMAND_ERROR_IS_FATAL ANY)
    # Members start on even offsets.
    math(EXPR header "${header} + 60 + ${size} + ${size} % 2")
  endwhile()
endforeach()
