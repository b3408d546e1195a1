# Who the program is, in one place: its name, version, release date and
# application id. The top-level CMakeLists.txt includes this before project(),
# which takes the name and version from here; the generated header
# app/identity.h, the Windows resources, the desktop files, the manual page,
# the changelog, the .deb, the Windows installer, the art generator's
# lettering and the tools' identity.sh all take them from here.
#
# The scripts read it without configuring a build:
#   cmake -D IDENTITY_SH=<file> -P packaging/identity.cmake   writes identity.sh to <file>

set(DILMORA_NAME Dilmora)
# A release changes these two lines together.
set(DILMORA_VERSION 1.0.0.0)
set(DILMORA_RELEASE_DATE 2026-12-08)  # the day DILMORA_VERSION was released, YYYY-MM-DD

# Reverse-DNS name of the application: the desktop entry, the metainfo, the
# themed icon and the macOS bundle identifier all carry it.
set(DILMORA_APP_ID org.example.Dilmora)
set(DILMORA_AUTHORS "The Dilmora authors")
set(DILMORA_CONTACT "dilmora@example.org")
set(DILMORA_HOMEPAGE "https://example.org/dilmora")

# Version facts, from DILMORA_VERSION 1.0.0.0:
#   DILMORA_VERSION_QUAD    1,0,0,0        the binary file and product version
#   DILMORA_VERSION_FULL    1.0.0.0        the same with dots: the macOS bundle version
#   DILMORA_VERSION_STRING  1.00           major, then minor in two digits
#   DILMORA_PRODUCT_NAME    Dilmora 1.0    the main window's title
#   DILMORA_GREETING        Welcome to Dilmora 1.0   the main window's first picture
string(REPLACE "." ";" quad "${DILMORA_VERSION}")
list(LENGTH quad parts)
while(parts LESS 4)
    list(APPEND quad 0)
    math(EXPR parts "${parts} + 1")
endwhile()
list(JOIN quad "," DILMORA_VERSION_QUAD)
list(JOIN quad "." DILMORA_VERSION_FULL)
list(GET quad 0 major)
list(GET quad 1 minor)
set(DILMORA_PRODUCT_NAME "${DILMORA_NAME} ${major}.${minor}")
set(DILMORA_GREETING "Welcome to ${DILMORA_PRODUCT_NAME}")
string(LENGTH "${minor}" minor_digits)
if(minor_digits LESS 2)
    set(minor "0${minor}")
endif()
set(DILMORA_VERSION_STRING "${major}.${minor}")

# The release date as the Debian changelog writes it ("Tue, 08 Dec 2026
# 12:00:00 +0000"): the weekday from the days since 1970-01-01, a Thursday.
if(NOT DILMORA_RELEASE_DATE MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "DILMORA_RELEASE_DATE is not YYYY-MM-DD: ${DILMORA_RELEASE_DATE}")
endif()
set(year "${CMAKE_MATCH_1}")
set(day "${CMAKE_MATCH_3}")
math(EXPR month "1${CMAKE_MATCH_2} - 100")
set(shifted_year ${year})
if(month LESS_EQUAL 2)
    math(EXPR shifted_year "${year} - 1")
endif()
math(EXPR era "${shifted_year} / 400")
math(EXPR year_of_era "${shifted_year} - ${era} * 400")
math(EXPR day_of_year "(153 * ((${month} + 9) % 12) + 2) / 5 + (1${day} - 100) - 1")
math(EXPR day_of_era "${year_of_era} * 365 + ${year_of_era} / 4 - ${year_of_era} / 100 + ${day_of_year}")
math(EXPR days "${era} * 146097 + ${day_of_era} - 719468")
math(EXPR weekday "(${days} + 4) % 7")
set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
list(GET weekday_names ${weekday} weekday_name)
math(EXPR month_index "${month} - 1")
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET month_names ${month_index} month_name)
set(DILMORA_RELEASE_DATE_RFC2822 "${weekday_name}, ${day} ${month_name} ${year} 12:00:00 +0000")

unset(quad)
unset(parts)
unset(major)
unset(minor)
unset(minor_digits)
foreach(name year day month shifted_year era year_of_era day_of_year day_of_era days weekday weekday_names
        weekday_name month_index month_names month_name)
    unset(${name})
endforeach()

if(CMAKE_SCRIPT_MODE_FILE)
    if(NOT IDENTITY_SH)
        message(FATAL_ERROR "usage: cmake -D IDENTITY_SH=<file> -P packaging/identity.cmake")
    endif()
    configure_file("${CMAKE_CURRENT_LIST_DIR}/identity.sh.in" "${IDENTITY_SH}" @ONLY)
endif()
