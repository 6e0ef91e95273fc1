# Embeds the files that a resource script names into a native (ELF) build, so that the Linux
# binaries carry exactly the resources of the Windows module, from the same list.
#
# Lines of the form   <id> <TYPE> "<file>"   are embedded, with <TYPE> BITMAP or a custom name;
# numeric types (the manifest) and string tables are Windows-only. An <id> is a number or a
# name that a header the script #includes defines as a number. Like the resource compiler, a
# bitmap is stored without its 14-byte file header.
function(vintrel_embed_resources resource_script output_source)
    get_filename_component(resource_dir "${resource_script}" DIRECTORY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${resource_script}")
    file(STRINGS "${resource_script}" lines)

    # The identifiers' numbers, from the headers the script includes.
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\"")
            set(header "${resource_dir}/${CMAKE_MATCH_1}")
            # A header the build makes (the version) names no resource.
            if(NOT EXISTS "${header}")
                continue()
            endif()
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${header}")
            file(STRINGS "${header}" definitions REGEX "^[ \t]*#[ \t]*define[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]+[0-9]+")
            foreach(definition IN LISTS definitions)
                string(REGEX MATCH "define[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+([0-9]+)" unused "${definition}")
                set(resource_number_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
            endforeach()
        endif()
    endforeach()

    set(assembly "")
    set(table "")
    set(files "")
    set(index 0)
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "^[ \t]*([0-9]+|[A-Za-z_][A-Za-z0-9_]*)[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+\"([^\"]+)\"")
            continue()
        endif()
        set(id "${CMAKE_MATCH_1}")
        set(type "${CMAKE_MATCH_2}")
        set(file "${resource_dir}/${CMAKE_MATCH_3}")
        if(NOT id MATCHES "^[0-9]+$")
            if(NOT DEFINED resource_number_${id})
                message(FATAL_ERROR "${resource_script}: no number for the resource identifier ${id}")
            endif()
            set(id "${resource_number_${id}}")
        endif()
        set(skip "")
        if(type STREQUAL "BITMAP")
            set(skip ", 14")
        endif()
        string(APPEND assembly
            "    \".balign 16\\n\"\n"
            "    \"vintrel_resource_${index}_begin:\\n\"\n"
            "    \".incbin \\\"${file}\\\"${skip}\\n\"\n"
            "    \"vintrel_resource_${index}_end:\\n\"\n")
        string(APPEND table
            "    {\"${type}\", ${id}, vintrel_resource_${index}_begin, vintrel_resource_${index}_end},\n")
        string(APPEND declarations
            "extern \"C\" const unsigned char vintrel_resource_${index}_begin[];\n"
            "extern \"C\" const unsigned char vintrel_resource_${index}_end[];\n")
        string(APPEND globals
            "    \".globl vintrel_resource_${index}_begin\\n.globl vintrel_resource_${index}_end\\n\"\n")
        list(APPEND files "${file}")
        math(EXPR index "${index} + 1")
    endforeach()

    if(index EQUAL 0)
        set(table "    {\"\", 0, nullptr, nullptr},\n")
    endif()

    file(CONFIGURE OUTPUT "${output_source}" CONTENT
"// Generated from @resource_script@ by cmake/EmbedResources.cmake; do not edit.
#include \"platform/embedded_resources.h\"

asm(\".section .rodata\\n\"
@globals@@assembly@    \".previous\\n\");

@declarations@
const EmbeddedResource embeddedResources[] = {
@table@};

const std::size_t embeddedResourceCount = @index@;
" @ONLY)
    set_source_files_properties("${output_source}" PROPERTIES OBJECT_DEPENDS "${files}")
endfunction()
