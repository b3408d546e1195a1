# How dilmora.exe is linked and finished for Windows; included by the top
# CMakeLists.txt, where the program is made.

# Hardening: ASLR with high-entropy addresses and DEP are the linker's
# defaults; the stack protector comes from GCC's libssp. mingw-w64 10 has no
# _FORTIFY_SOURCE. The DLLs that dilmora.exe imports are taken from System32
# only (load_config.cpp; packaging/windows/pe-fields.py puts it in the header).
# No time stamp in the header: the same source gives the same bytes.
target_compile_options(dilmora_core PUBLIC -fstack-protector-strong)
target_link_options(dilmora_core PUBLIC -fstack-protector-strong)
target_sources(dilmora PRIVATE packaging/windows/load_config.cpp)
set(DILMORA_LINK_MAP "${PROJECT_BINARY_DIR}/dilmora.map")
# The build's scripts run in Debian's own Python, which has their modules
# (python3-debian, python3-pefile); another python3 on the PATH may not.
set(DILMORA_PYTHON /usr/bin/python3)
# Kept though nothing refers to it (Qt links with --gc-sections).
target_link_options(dilmora PRIVATE -Wl,--undefined=_load_config_used
    -Wl,--no-insert-timestamp "-Wl,-Map=${DILMORA_LINK_MAP}")

# Authenticode signing when a certificate is given in the environment at
# configure time (packaging/windows/sign.sh); unsigned otherwise. A change of
# certificate, in the environment or in its file (a renewed certificate
# written where the old one was), relinks the program and remakes the
# installer, so that they are signed again.
set(DILMORA_SIGN_ENV)
foreach(variable DILMORA_SIGN_PKCS12 DILMORA_SIGN_PASSWORD_FILE DILMORA_SIGN_TIMESTAMP_URL)
    list(APPEND DILMORA_SIGN_ENV "${variable}=$ENV{${variable}}")
endforeach()
set(DILMORA_SIGNING "${PROJECT_BINARY_DIR}/signing.txt")
file(CONFIGURE OUTPUT "${DILMORA_SIGNING}" CONTENT "${DILMORA_SIGN_ENV}\n")
set(DILMORA_SIGN_INPUTS "${DILMORA_SIGNING}")
foreach(file IN ITEMS "$ENV{DILMORA_SIGN_PKCS12}" "$ENV{DILMORA_SIGN_PASSWORD_FILE}")
    if(file)
        list(APPEND DILMORA_SIGN_INPUTS "${file}")
    endif()
endforeach()
set_property(TARGET dilmora APPEND PROPERTY LINK_DEPENDS ${DILMORA_SIGN_INPUTS})
set(DILMORA_SIGN "${PROJECT_SOURCE_DIR}/packaging/windows/sign.sh")
add_custom_command(TARGET dilmora POST_BUILD
    COMMAND "${DILMORA_PYTHON}" "${PROJECT_SOURCE_DIR}/packaging/windows/pe-fields.py" set-load-config
        "$<TARGET_FILE:dilmora>" "${DILMORA_LINK_MAP}"
    COMMAND "${CMAKE_COMMAND}" -E env ${DILMORA_SIGN_ENV}
        bash "${DILMORA_SIGN}" "$<TARGET_FILE:dilmora>" "${DILMORA_PRODUCT_NAME}"
    VERBATIM)
