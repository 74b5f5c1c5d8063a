# qinghe_wrap_text(OUT TEXT WIDTH): TEXT with its runs of blanks and line
# breaks made single blanks, broken into lines of at most WIDTH characters
# at blanks (a longer word stands alone), joined by line breaks.
function(qinghe_wrap_text out text width)
    # Semicolons would split CMake's lists: carry them as a control character.
    string(ASCII 1 semicolon)
    string(REPLACE ";" "${semicolon}" text "${text}")
    string(REGEX MATCHALL "[^ \t\n]+" words "${text}")
    set(wrapped "")
    set(line "")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(line STREQUAL "")
            set(line "${word}")
        elseif(length GREATER width)
            string(APPEND wrapped "${line}\n")
            set(line "${word}")
        else()
            string(APPEND line " ${word}")
        endif()
    endforeach()
    string(REPLACE "${semicolon}" ";" wrapped "${wrapped}${line}")
    set(${out} "${wrapped}" PARENT_SCOPE)
endfunction()
