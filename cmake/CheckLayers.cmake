# Run by the build (see LayerCheck.cmake) with -DMANIFEST=<file>. Fails with
# one line per broken rule:
#  1. A header of src/ that a file includes belongs to exactly one library.
#  2. A library (or program) links the libraries whose headers it includes,
#     and no library whose header it does not include.
#  3. Folders use one another one way: a file may include headers of its own
#     folder and of the folders below it only:
#        app, cli  >  files  >  display  >  platform, screen
#  4. Qt, and the operating system's own headers, are seen only in platform/.
#  5. An outside library is linked exactly where its header is included.

cmake_minimum_required(VERSION 3.25)
include("${MANIFEST}")

set(rank_screen 0)
set(rank_platform 0)
set(rank_display 1)
set(rank_files 2)
set(rank_cli 3)
set(rank_app 3)

# Outside headers, by the regular expression of their name, and the link
# target that stands for each. Headers of the C++ standard library and libc
# need no link.
set(outside_libraries qt png)
set(outside_qt_header "^Q[A-Za-z]+$|^Qt[A-Za-z]+/")
set(outside_qt_links "Qt6::Widgets;Qt6::Gui;Qt6::Core")
set(outside_png_header "^png\\.h$")
set(outside_png_links "PNG::PNG")
# The operating system's interfaces: only the services layer may use them.
set(system_header "^(unistd|fcntl|dlfcn|poll|dirent|grp|pwd|signal|time)\\.h$|^sys/")

set(problems "")
macro(problem text)
    string(APPEND problems "  ${text}\n")
endmacro()

# Who owns each header.
foreach(target IN LISTS SCRFIX_TARGETS)
    foreach(source IN LISTS SCRFIX_SOURCES_${target})
        if(source MATCHES "\\.h$")
            file(RELATIVE_PATH name "${SCRFIX_SOURCE_ROOT}" "${source}")
            string(MAKE_C_IDENTIFIER "${name}" key)
            if(DEFINED owner_${key})
                problem("${name} is listed by both ${owner_${key}} and ${target}")
            endif()
            set(owner_${key} ${target})
        endif()
    endforeach()
endforeach()

foreach(target IN LISTS SCRFIX_TARGETS)
    set(folder ${SCRFIX_FOLDER_${target}})
    set(links ${SCRFIX_LINKS_${target}})
    set(used "")
    set(outside_used "")
    foreach(source IN LISTS SCRFIX_SOURCES_${target})
        file(RELATIVE_PATH source_name "${SCRFIX_SOURCE_ROOT}" "${source}")
        file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*$" "\\1"
                   header "${line}")
            string(MAKE_C_IDENTIFIER "${header}" key)
            if(EXISTS "${SCRFIX_SOURCE_ROOT}/${header}")
                if(NOT DEFINED owner_${key})
                    problem("${source_name} includes ${header}, which no library lists")
                    continue()
                endif()
                set(owner ${owner_${key}})
                if(owner STREQUAL target)
                    continue()
                endif()
                set(owner_folder ${SCRFIX_FOLDER_${owner}})
                if(NOT owner_folder STREQUAL folder AND
                   NOT rank_${owner_folder} LESS rank_${folder})
                    problem("${source_name} includes ${header}: ${folder}/ may not use ${owner_folder}/")
                endif()
                list(APPEND used ${owner})
                if(NOT owner IN_LIST links)
                    problem("${source_name} includes ${header}, but ${target} does not link ${owner}")
                endif()
                continue()
            endif()
            if(header MATCHES "${system_header}" AND NOT folder STREQUAL "platform")
                problem("${source_name} includes <${header}>: only platform/ sees the system")
            endif()
            foreach(outside IN LISTS outside_libraries)
                if(header MATCHES "${outside_${outside}_header}")
                    list(APPEND outside_used ${outside})
                    if(outside STREQUAL "qt" AND NOT folder STREQUAL "platform")
                        problem("${source_name} includes <${header}>: only platform/ sees Qt")
                    endif()
                    set(linked FALSE)
                    foreach(link IN LISTS outside_${outside}_links)
                        if(link IN_LIST links)
                            set(linked TRUE)
                        endif()
                    endforeach()
                    if(NOT linked)
                        problem("${source_name} includes <${header}>, but ${target} does not link it")
                    endif()
                endif()
            endforeach()
        endforeach()
    endforeach()
    foreach(link IN LISTS links)
        if(link IN_LIST SCRFIX_TARGETS)
            if(NOT link IN_LIST used)
                problem("${target} links ${link} but includes none of its headers")
            endif()
            continue()
        endif()
        foreach(outside IN LISTS outside_libraries)
            if(link IN_LIST outside_${outside}_links AND NOT outside IN_LIST outside_used)
                problem("${target} links ${link} but includes none of its headers")
            endif()
        endforeach()
    endforeach()
endforeach()

if(problems)
    message(FATAL_ERROR "The libraries of src/ break the layer rules:\n${problems}"
                        "See ARCHITECTURE.md.")
endif()
