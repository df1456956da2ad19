# Signs TorvexSetup.exe with the vendor's code-signing certificate
# (Authenticode, SHA-256) through osslsigncode:
#   TORVEX_SIGN_PKCS12         the PKCS#12 file with the certificate and its key
#   TORVEX_SIGN_PASSWORD_FILE  a file holding the key's password
#   TORVEX_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server (optional): the
#                              signature then stays valid after the
#                              certificate expires
# CPack runs it on the staged files before it packs them (TORVEX_SIGN, set
# by scripts/build-windows.sh --sign), after they are stripped: stripping a
# signed file would break its signature. With -DTORVEX_SIGN_CHECK=ON (cmake
# -P) it only checks that all is there to sign, so that a build stops before
# it starts. Any fault stops the packing: no zip is made unsigned.

set(what_TORVEX_SIGN_PKCS12 "the PKCS#12 file with the code-signing certificate and its private key")
set(what_TORVEX_SIGN_PASSWORD_FILE "a file holding the private key's password")
foreach(variable TORVEX_SIGN_PKCS12 TORVEX_SIGN_PASSWORD_FILE)
    set(file "$ENV{${variable}}")
    if(file STREQUAL "")
        message(FATAL_ERROR "Signing needs ${variable}: the path of ${what_${variable}}.")
    endif()
    if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
        message(FATAL_ERROR "Signing: ${variable} names ${file}, which is not a file.")
    endif()
endforeach()
find_program(TORVEX_OSSLSIGNCODE osslsigncode)
if(NOT TORVEX_OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode (scripts/install-deps.sh --with-windows-tools).")
endif()
if(TORVEX_SIGN_CHECK)
    return()
endif()

# The staged folder: the zip's top folder inside CPack's temporary one.
set(program "${CPACK_TEMPORARY_DIRECTORY}/TorvexSetup.exe")
if(NOT EXISTS "${program}")
    message(FATAL_ERROR "Signing: no ${program} to sign.")
endif()
set(timestamp)
if(NOT "$ENV{TORVEX_SIGN_TIMESTAMP_URL}" STREQUAL "")
    set(timestamp -ts "$ENV{TORVEX_SIGN_TIMESTAMP_URL}")
endif()
# The password is read from its file, never put on a command line.
execute_process(
    COMMAND "${TORVEX_OSSLSIGNCODE}" sign -pkcs12 "$ENV{TORVEX_SIGN_PKCS12}"
            -readpass "$ENV{TORVEX_SIGN_PASSWORD_FILE}" -h sha256 -n "Torvex Setup" ${timestamp}
            -in "${program}" -out "${program}.signed"
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    file(REMOVE "${program}.signed")
    message(FATAL_ERROR "Signing TorvexSetup.exe failed (osslsigncode: ${status}):\n${output}")
endif()
file(RENAME "${program}.signed" "${program}")
message(STATUS "Signed ${program}")
