# Run by CPack after its staging install, before it makes the Debian package:
# writes the two files Debian wants in every package's documentation folder,
# and registers the user guide's page with the system's documentation index.
#   copyright     the machine-readable form around the text of LICENSE
#   changelog.gz  the releases of the AppStream metadata, newest first
#   doc-base      the guide's page (share/doc-base/qinghe-guide)
include(${CPACK_QINGHE_SOURCE_DIR}/packaging/wrap_text.cmake)

set(doc ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc})

# copyright: each line of the licence indented by one blank, empty lines as " ."
file(READ ${CPACK_QINGHE_SOURCE_DIR}/LICENSE license)
string(STRIP "${license}" license)
set(holder "${CPACK_PACKAGE_VENDOR}")
if(license MATCHES "Copyright \\([cC]\\) ([^\n]*)")
    set(holder "${CMAKE_MATCH_1}")
endif()
string(REPLACE "\n" "\n " license " ${license}")
string(REGEX REPLACE "\n +\n" "\n .\n" license "${license}")
string(REGEX REPLACE "\n +\n" "\n .\n" license "${license}")
file(WRITE ${doc}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${CPACK_PACKAGE_NAME}
Upstream-Contact: ${CPACK_PACKAGE_CONTACT}

Files: *
Copyright: ${holder}
License: ${CPACK_QINGHE_LICENSE}
${license}
")

# changelog.gz: one entry a release, its paragraphs as items.
file(READ ${CPACK_QINGHE_SOURCE_DIR}/data/qinghe.metainfo.xml.in metainfo)
string(REGEX MATCH "<releases>.*</releases>" releases "${metainfo}")
string(REGEX MATCHALL "<release [^>]*>([^<]|<[^/]|</[^r])*</release>" entries "${releases}")
set(changelog "")
foreach(entry IN LISTS entries)
    string(REGEX MATCH "version=\"([^\"]*)\"" _ "${entry}")
    set(version "${CMAKE_MATCH_1}")
    string(REGEX MATCH "date=\"([^\"]*)\"" _ "${entry}")
    execute_process(COMMAND date --rfc-email --utc --date "${CMAKE_MATCH_1}"
                    OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND changelog "${CPACK_PACKAGE_NAME} (${version}) unstable; urgency=medium\n\n")
    string(REGEX MATCHALL "<(p|li)>[^<]*</(p|li)>" items "${entry}")
    foreach(item IN LISTS items)
        string(REGEX REPLACE "</?(p|li)>" "" item "${item}")
        qinghe_wrap_text(item "${item}" 74)
        string(REPLACE "\n" "\n    " item "${item}")
        string(APPEND changelog "  * ${item}\n")
    endforeach()
    string(APPEND changelog "\n -- ${CPACK_PACKAGE_CONTACT}  ${date}\n\n")
endforeach()
string(STRIP "${changelog}" changelog)
file(WRITE ${doc}/changelog "${changelog}\n")
execute_process(COMMAND gzip -9 --no-name --force ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)

# doc-base: the guide's page, as the program installs it (docs/guide).
set(prefix ${CPACK_PACKAGING_INSTALL_PREFIX})
set(guide ${prefix}/share/doc/${CPACK_PACKAGE_NAME}/guide)
if(NOT EXISTS ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${guide}/index.html)
    message(FATAL_ERROR "the package holds no user guide at ${guide}/index.html")
endif()
file(WRITE ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${prefix}/share/doc-base/${CPACK_PACKAGE_NAME}-guide
"Document: ${CPACK_PACKAGE_NAME}-guide
Title: Qinghe user guide
Author: ${holder}
Abstract: How to work out a month's pay and keep the overtime journal with
 Qinghe: the first start, everyday use, where the files are, the daily
 backup, qinghe-cli, and the program's limits. In Chinese and English.
Section: Office

Format: HTML
Index: ${guide}/index.html
Files: ${guide}/*.html
")
