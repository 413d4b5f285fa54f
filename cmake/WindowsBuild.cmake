# Windows build: MinGW-w64 against the real SDK headers and import libraries.
# Everything links statically so that only Windows system DLLs are needed.
add_link_options(-static -static-libgcc -static-libstdc++)

# MinGW-w64 has no import library for the kernel-streaming proxy; make one
# from its module definition.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(KS_STDCALL_28 "@28")
else()
    set(KS_STDCALL_28 "")
endif()
configure_file(cmake/ksproxy.def.in ${CMAKE_BINARY_DIR}/ksproxy.def @ONLY)
set(KSPROXY_IMPORT_LIB ${CMAKE_BINARY_DIR}/libksproxy.a)
add_custom_command(
    OUTPUT ${KSPROXY_IMPORT_LIB}
    COMMAND ${CMAKE_DLLTOOL} --kill-at -d ${CMAKE_BINARY_DIR}/ksproxy.def -l ${KSPROXY_IMPORT_LIB}
    DEPENDS ${CMAKE_BINARY_DIR}/ksproxy.def
    COMMENT "Generating the ksproxy.ax import library")
add_custom_target(ksproxy_import DEPENDS ${KSPROXY_IMPORT_LIB})
add_library(ksproxy STATIC IMPORTED GLOBAL)
set_target_properties(ksproxy PROPERTIES IMPORTED_LOCATION ${KSPROXY_IMPORT_LIB})
add_dependencies(ksproxy ksproxy_import)

target_link_libraries(lumetra_product PUBLIC ksproxy strmiids ksuser ole32 oleaut32 uuid)
