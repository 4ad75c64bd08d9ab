# zuv_add_resource_bundle(<out-sources-var> NAME <bundle> PREFIX <prefix> ROOT <dir> FILES <paths relative to ROOT>...)
#
# Writes a resource collection file listing FILES under PREFIX (each file keeps its path below
# ROOT) and compiles it with rcc into a bundle whose registration function is
# qInitResources_<bundle>. The collection file is rewritten only when its content changes.
function(zuv_add_resource_bundle out_var)
    cmake_parse_arguments(ARG "" "NAME;PREFIX;ROOT" "FILES" ${ARGN})
    set(content "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"${ARG_PREFIX}\">\n")
    list(SORT ARG_FILES)
    foreach(file IN LISTS ARG_FILES)
        string(APPEND content "    <file alias=\"${file}\">${ARG_ROOT}/${file}</file>\n")
    endforeach()
    string(APPEND content "</qresource>\n</RCC>\n")
    set(qrc ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.qrc)
    file(WRITE ${qrc}.new "${content}")
    configure_file(${qrc}.new ${qrc} COPYONLY)
    qt5_add_resources(sources ${qrc} OPTIONS -name ${ARG_NAME})
    set(${out_var} ${sources} PARENT_SCOPE)
endfunction()
