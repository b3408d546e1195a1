# How the released programs are compiled: hardened as Debian's own packages
# are, and reproducible. The release preset and tools/package.sh turn both on;
# builds for debugging keep the plain flags.
#
#   DILMORA_HARDEN        Debian's hardening flags, as dpkg-buildflags gives
#                         them with hardening=+all: stack protector, fortified
#                         libc calls, format checks, full RELRO, PIE
#   DILMORA_REPRODUCIBLE  no build folder in the program: the source and build
#                         folders appear as relative paths, so two builds of
#                         one commit in two folders give the same bytes (and
#                         the same build ID, a hash of them)

option(DILMORA_HARDEN "Compile with Debian's hardening flags (dpkg-buildflags, hardening=+all)" OFF)
option(DILMORA_REPRODUCIBLE "Leave the source and build folders' paths out of the program" OFF)

if(DILMORA_HARDEN AND NOT WIN32 AND NOT MSVC)
    # Only the hardening flags: the build type chooses -O and -g, and the
    # prefix map below replaces dpkg-buildflags' one for the working folder.
    find_program(DILMORA_DPKG_BUILDFLAGS dpkg-buildflags)
    if(DILMORA_DPKG_BUILDFLAGS)
        set(flags)
        foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
            execute_process(
                COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    ${DILMORA_DPKG_BUILDFLAGS} --get ${kind}
                OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
            separate_arguments(value UNIX_COMMAND "${value}")
            list(FILTER value EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*)$")
            set(${kind} ${value})
        endforeach()
        set(DILMORA_HARDENING_COMPILE_FLAGS ${CPPFLAGS} ${CXXFLAGS})
        set(DILMORA_HARDENING_LINK_FLAGS ${LDFLAGS})
    else()
        # What dpkg-buildflags gives on Debian 12, for machines without dpkg-dev.
        set(DILMORA_HARDENING_COMPILE_FLAGS -Wdate-time -D_FORTIFY_SOURCE=2 -fstack-protector-strong
            -Wformat -Werror=format-security)
        set(DILMORA_HARDENING_LINK_FLAGS -Wl,-z,relro -Wl,-z,now)
    endif()
    message(STATUS "Hardening: ${DILMORA_HARDENING_COMPILE_FLAGS} ${DILMORA_HARDENING_LINK_FLAGS}")
    add_compile_options(${DILMORA_HARDENING_COMPILE_FLAGS})
    add_link_options(${DILMORA_HARDENING_LINK_FLAGS})
    # A position-independent program (GCC's default on Debian, said aloud).
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

if(DILMORA_REPRODUCIBLE AND NOT MSVC)
    # The source folder becomes ".", the build folder "build", wherever they
    # are. The last map that matches wins: the build folder may lie inside the
    # source folder.
    add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}=." "-ffile-prefix-map=${CMAKE_BINARY_DIR}=build")
endif()
