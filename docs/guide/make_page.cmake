# Makes the user guide's page from the README, so that the guide is written
# once: the lines between "<!-- guide -->" and "<!-- /guide -->" turned into
# HTML by cmark and set in page.html.in, with the pictures they show copied
# beside the page. A link the page could not follow stops the build.
#
# cmake -DREADME=FILE -DFRAME=FILE -DPICTURES=DIR -DCMARK=PROGRAM -DOUT=DIR -P make_page.cmake
cmake_minimum_required(VERSION 3.25)
foreach(variable README FRAME PICTURES CMARK OUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "make_page.cmake: -D${variable}=... is missing")
    endif()
endforeach()

file(READ "${README}" readme)
set(open_mark "<!-- guide -->\n")
set(close_mark "<!-- /guide -->\n")
string(FIND "${readme}" "${open_mark}" begin)
string(FIND "${readme}" "${close_mark}" end)
if(begin EQUAL -1 OR end LESS begin)
    message(FATAL_ERROR "${README}: no guide between the lines '<!-- guide -->' and '<!-- /guide -->'")
endif()
string(LENGTH "${open_mark}" mark_length)
math(EXPR begin "${begin} + ${mark_length}")
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${readme}" ${begin} ${length} guide)

# The README shows docs/screenshots/NAME.png; the page, screenshots/NAME.png.
string(REPLACE "](docs/screenshots/" "](screenshots/" guide "${guide}")
file(REMOVE_RECURSE "${OUT}/screenshots")
# (Each link's target is taken as "<link>TARGET": a CMake list cannot hold the
# brackets of "](TARGET)" as elements.)
string(REPLACE "](" "<link>" marked "${guide}")
string(REGEX MATCHALL "<link>[^)]*" links "${marked}")
foreach(link ${links})
    string(REPLACE "<link>" "" target "${link}")
    if(target MATCHES "^https?://")
        continue()
    elseif(target MATCHES "^screenshots/([^/]+\\.png)$")
        set(picture "${PICTURES}/${CMAKE_MATCH_1}")
        if(NOT EXISTS "${picture}")
            message(FATAL_ERROR "${README}: the guide shows ${picture}, which does not exist")
        endif()
        file(COPY "${picture}" DESTINATION "${OUT}/screenshots")
    else()
        message(FATAL_ERROR "${README}: the guide links to '${target}', which its page cannot reach")
    endif()
endforeach()

file(MAKE_DIRECTORY "${OUT}")
file(WRITE "${OUT}/guide.md" "${guide}")
execute_process(COMMAND "${CMARK}" --to html "${OUT}/guide.md"
    OUTPUT_VARIABLE GUIDE_BODY
    RESULT_VARIABLE status)
file(REMOVE "${OUT}/guide.md")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmark failed on the guide (${status})")
endif()
configure_file("${FRAME}" "${OUT}/index.html" @ONLY)
