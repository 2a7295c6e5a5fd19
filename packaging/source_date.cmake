# The date that the man pages and the package's changelog carry: the time of the last commit,
# so that the same sources give the same files on any day (a reproducible package). A
# SOURCE_DATE_EPOCH in the environment, as Debian's package builds set it, comes first;
# sources outside git take the time of this project's top CMakeLists.txt.
#
# Sets ZEL_SOURCE_DATE_EPOCH (seconds since 1970), ZEL_SOURCE_DATE_MONTH ("December 2026",
# as help2man dates a page) and ZEL_SOURCE_DATE_RFC2822 (as a Debian changelog dates an
# entry), and writes the epoch to ZEL_SOURCE_DATE_FILE, changed only when the date changes,
# for the build steps that print the date to depend on.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ZEL_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  if(Git_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE ZEL_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
  endif()
  if(NOT ZEL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/CMakeLists.txt ZEL_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
endif()

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when it is set, instead of the clock.
set(clock_override "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${ZEL_SOURCE_DATE_EPOCH})
string(TIMESTAMP ZEL_SOURCE_DATE_MONTH "%B %Y" UTC)
string(TIMESTAMP ZEL_SOURCE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${clock_override}")

set(ZEL_SOURCE_DATE_FILE ${PROJECT_BINARY_DIR}/source-date-epoch)
file(CONFIGURE OUTPUT ${ZEL_SOURCE_DATE_FILE} CONTENT "${ZEL_SOURCE_DATE_EPOCH}\n")
