# Compiler settings shared by every target of the project.
#
# Money and calendar code depend on each intermediate result being a rounded
# IEEE double, so floating-point contraction (fused multiply-add) is off for
# the whole tree, not only for one module.
# x86-64 arithmetic is SSE2, so there is no excess precision to worry about.
add_compile_options(-ffp-contract=off)

if(QINGHE_SANITIZE)
    add_compile_options(-fsanitize=${QINGHE_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${QINGHE_SANITIZE})
endif()

# Warnings are errors in our own code (not in third-party headers, which come
# in as system includes).
function(qinghe_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
        -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
        -Werror)
endfunction()

# qinghe_library(name SOURCES ... DEPS ...): a static library of our own code.
function(qinghe_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    qinghe_warnings(${name})
endfunction()

# qinghe_test(name SOURCES ... DEPS ... [LABELS ...]): a GoogleTest suite run by CTest.
function(qinghe_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
    if(NOT "GTest::gtest_main" IN_LIST ARG_DEPS AND NOT "qinghe_gui_test_main" IN_LIST ARG_DEPS)
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    qinghe_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()
