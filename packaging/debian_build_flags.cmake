# Debian's hardening flags, as dpkg-buildflags gives them to every Debian package: fortified
# libc calls, a stack protector, and a read-only relocation table bound at start. Only the
# optimising builds take them: _FORTIFY_SOURCE needs optimisation, and the sanitizers and
# the fuzzers bring their own checks. The optimisation level and debug information stay
# CMake's, so dpkg-buildflags' own -g -O2 is left out.
option(ZEL_HARDENING "Build with Debian's hardening flags (dpkg-buildflags, in dpkg-dev)" ON)

function(zel_add_debian_build_flags target)
  if(NOT ZEL_HARDENING OR ZEL_SANITIZE OR ZEL_FUZZ OR CMAKE_BUILD_TYPE STREQUAL "Debug")
    return()
  endif()
  find_program(ZEL_DPKG_BUILDFLAGS dpkg-buildflags)
  if(NOT ZEL_DPKG_BUILDFLAGS)
    message(STATUS "dpkg-buildflags not found (dpkg-dev): built without Debian's hardening flags")
    return()
  endif()
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    # Run from the source tree: its path is what -ffile-prefix-map takes out of the binaries.
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              "DEB_CXXFLAGS_MAINT_STRIP=-g -O2" ${ZEL_DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(${kind} UNIX_COMMAND "${value}")
  endforeach()
  target_compile_options(${target} INTERFACE ${CPPFLAGS} ${CXXFLAGS})
  target_link_options(${target} INTERFACE ${LDFLAGS})
endfunction()
