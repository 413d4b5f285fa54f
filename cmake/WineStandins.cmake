# Test-only: stand-ins for cfgmgr32.dll and avicap32.dll that the Wine tests
# load in place of Wine's (tests/wine/standins/standins.h), built into
# standins/ under their real names. Each exports what Wine's DLL of the same
# architecture exports, so its module definition is made from that DLL; the
# stand-ins are left out where this Wine is not installed.
set(STANDINS ${CMAKE_SOURCE_DIR}/tests/wine/standins)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WINE_PE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH "Wine's i386 PE DLLs")
else()
    set(WINE_PE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Wine's x86_64 PE DLLs")
endif()
math(EXPR STANDINS_BITS "${CMAKE_SIZEOF_VOID_P} * 8")

# add_standin(name source ... EXPORTS name@argbytes ...): the DLL <name>.dll
# from the sources, exporting the functions given and passing on the rest.
function(add_standin name)
    cmake_parse_arguments(PARSE_ARGV 1 STANDIN "" "" "SOURCES;EXPORTS")
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
        DEPENDS ${STANDINS}/exports.sh ${wine_dll}
        COMMENT "Taking the exports of ${name}.dll from Wine's")
    add_library(${name}_standin MODULE ${STANDIN_SOURCES} ${STANDINS}/controlfile.c ${generated}/${name}.def
                                       ${generated}/${name}_stubs.h)
    target_include_directories(${name}_standin PRIVATE ${STANDINS} ${generated})
    set_target_properties(${name}_standin PROPERTIES
        PREFIX "" OUTPUT_NAME ${name} LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standins)
endfunction()

add_standin(cfgmgr32 SOURCES ${STANDINS}/cfgmgr32.c
    EXPORTS CM_Locate_DevNodeA@12 CM_Get_DevNode_Registry_PropertyA@24 CM_Get_Child@12 CM_Get_Sibling@12
            CM_Get_Parent@12)
add_standin(avicap32 SOURCES ${STANDINS}/avicap32.c
    EXPORTS capCreateCaptureWindowA@32 capCreateCaptureWindowW@32 capGetDriverDescriptionA@20
            capGetDriverDescriptionW@20)
if(TARGET cfgmgr32_standin AND TARGET avicap32_standin)
    target_link_libraries(avicap32_standin PRIVATE user32 gdi32)
    # What tests/wine/standins_test.sh calls them with; not beside them, so
    # that it loads the ones installed in the prefix.
    add_executable(standins_check ${STANDINS}/check.c)
    target_link_libraries(standins_check PRIVATE cfgmgr32)
endif()
