# The layer check: every build verifies that each library of src/ links
# exactly the libraries whose headers its files include, and that the
# folders of src/ use one another one way only (ARCHITECTURE.md has the
# picture). The rules themselves are in CheckLayers.cmake, which runs as a
# build step whenever a source file changes, so a new include is checked
# without reconfiguring.

# scrfix_add_layer_check(): call once, after every target of src/ exists.
function(scrfix_add_layer_check)
    set(manifest "${PROJECT_BINARY_DIR}/layers/manifest.cmake")
    set(content "# Written by cmake/LayerCheck.cmake at configure time.\n")
    string(APPEND content "set(SCRFIX_SOURCE_ROOT \"${PROJECT_SOURCE_DIR}/src\")\n")
    set(targets "")
    set(all_sources "")
    file(GLOB folders LIST_DIRECTORIES true "${PROJECT_SOURCE_DIR}/src/*")
    foreach(folder IN LISTS folders)
        if(NOT IS_DIRECTORY "${folder}" OR NOT EXISTS "${folder}/CMakeLists.txt")
            continue()
        endif()
        get_filename_component(folder_name "${folder}" NAME)
        get_property(folder_targets DIRECTORY "${folder}" PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS folder_targets)
            get_target_property(type ${target} TYPE)
            # Qt's generated resource objects are not code of ours.
            if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$")
                continue()
            endif()
            get_target_property(sources ${target} SOURCES)
            get_target_property(links ${target} LINK_LIBRARIES)
            if(NOT links)
                set(links "")
            endif()
            list(REMOVE_ITEM links scrfix_warnings)
            set(absolute "")
            foreach(source IN LISTS sources)
                if(source MATCHES "\\.(cpp|h)$")
                    get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${folder}")
                    list(APPEND absolute "${path}")
                endif()
            endforeach()
            list(APPEND targets ${target})
            list(APPEND all_sources ${absolute})
            string(APPEND content "set(SCRFIX_FOLDER_${target} \"${folder_name}\")\n")
            string(APPEND content "set(SCRFIX_SOURCES_${target} \"${absolute}\")\n")
            string(APPEND content "set(SCRFIX_LINKS_${target} \"${links}\")\n")
        endforeach()
    endforeach()
    string(APPEND content "set(SCRFIX_TARGETS \"${targets}\")\n")
    file(WRITE "${manifest}" "${content}")

    set(stamp "${PROJECT_BINARY_DIR}/layers/checked.stamp")
    add_custom_command(
        OUTPUT "${stamp}"
        COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -P
                ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
        COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
        DEPENDS ${all_sources} "${manifest}" ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake
        COMMENT "Checking that every library links what it includes, one way"
        VERBATIM)
    add_custom_target(layer_check ALL DEPENDS "${stamp}")
endfunction()
