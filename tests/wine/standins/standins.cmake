# Test-only: stand-ins for cfgmgr32.dll and avicap32.dll that the Wine tests
# load in place of Wine's (tests/wine/standins/standins.h), built into
# standins/ under their real names. Each exports what Wine's DLL of the same
# architecture exports, so its module definition is made from that DLL; the
# stand-ins are left out where this Wine is not installed.
set(STANDINS ${CMAKE_SOURCE_DIR}/tests/wine/standins)
# Wine's DLL folder for this architecture, as the Wine tests know it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WINE_BUILD win32)
else()
    set(WINE_BUILD win64)
endif()
execute_process(
    COMMAND bash -c "source '${CMAKE_SOURCE_DIR}/scripts/lib/wine.sh' && wine_dll_dir ${WINE_BUILD}"
    OUTPUT_VARIABLE WINE_PE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
math(EXPR STANDINS_BITS "${CMAKE_SIZEOF_VOID_P} * 8")

# The functions each stand-in implements itself, from the list the Wine
# tests read too.
file(STRINGS ${STANDINS}/implemented.txt STANDIN_LINES REGEX "^[a-z]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${STANDINS}/implemented.txt)
foreach(line ${STANDIN_LINES})
    separate_arguments(words UNIX_COMMAND "${line}")
    list(POP_FRONT words dll)
    set(STANDIN_FUNCTIONS_${dll} ${words})
endforeach()

# add_standin(name source ...): the DLL <name>.dll from the sources,
# exporting the functions implemented.txt lists for it and passing on the
# rest.
function(add_standin name)
    set(STANDIN_SOURCES ${ARGN})
    set(STANDIN_EXPORTS ${STANDIN_FUNCTIONS_${name}})
    set(wine_dll ${WINE_PE_DIR}/${name}.dll)
    if(NOT EXISTS ${wine_dll})
        message(STATUS "No ${wine_dll}: the ${name} stand-in is not built")
        return()
    endif()
    set(generated ${CMAKE_BINARY_DIR}/standins/generated)
    add_custom_command(
        OUTPUT ${generated}/${name}.def ${generated}/${name}_stubs.h
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
        COMMAND ${STANDINS}/exports.sh ${CMAKE_OBJDUMP} ${wine_dll} ${STANDINS_BITS} ${generated}/${name}.def
                ${generated}/${name}_stubs.h ${STANDIN_EXPORTS}
        DEPENDS ${STANDINS}/exports.sh ${STANDINS}/implemented.txt ${wine_dll}
        COMMENT "Taking the exports of ${name}.dll from Wine's")
    add_library(${name}_standin MODULE ${STANDIN_SOURCES} ${STANDINS}/controlfile.c ${generated}/${name}.def
                                       ${generated}/${name}_stubs.h)
    target_include_directories(${name}_standin PRIVATE ${STANDINS} ${generated})
    set_target_properties(${name}_standin PROPERTIES
        PREFIX "" OUTPUT_NAME ${name} LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standins)
endfunction()

add_standin(cfgmgr32 ${STANDINS}/cfgmgr32.c)
add_standin(avicap32 ${STANDINS}/avicap32.c)
if(TARGET cfgmgr32_standin AND TARGET avicap32_standin)
    target_link_libraries(avicap32_standin PRIVATE user32 gdi32)
    # What tests/wine/standins_test.sh calls them with; not beside them, so
    # that it loads the ones installed in the prefix.
    add_executable(standins_check ${STANDINS}/check.c)
    target_link_libraries(standins_check PRIVATE cfgmgr32)
endif()
