# Debian's hardening (fortified functions, stack protector, full RELRO and
# immediate binding) for the programs the package ships, taken from
# dpkg-buildflags as Debian's own packages take it. The build type keeps
# choosing optimisation and debug information; fortification needs an
# optimised build, so the release preset turns this on.
option(KORVANE_DEBIAN_BUILD_FLAGS "Compile and link with dpkg-buildflags (hardening=+all)" OFF)
if(NOT KORVANE_DEBIAN_BUILD_FLAGS)
    return()
endif()

find_program(DPKG_BUILDFLAGS dpkg-buildflags REQUIRED)
function(korvane_debian_flags kind result)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags
        OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(O.*|g)$")
    set(${result} ${flags} PARENT_SCOPE)
endfunction()

korvane_debian_flags(CPPFLAGS preprocessor_flags)
korvane_debian_flags(CXXFLAGS compiler_flags)
korvane_debian_flags(LDFLAGS linker_flags)
add_compile_options(${preprocessor_flags} ${compiler_flags})
add_link_options(${linker_flags})
string(JOIN " " shown ${preprocessor_flags} ${compiler_flags} ${linker_flags})
message(STATUS "Debian build flags: ${shown}")
