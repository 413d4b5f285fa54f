# Windows build: MinGW-w64 against the real SDK headers and import libraries.
# Everything links statically so that only Windows system DLLs are needed.
enable_language(RC)
add_compile_options(-ffunction-sections -fdata-sections)
target_compile_options(lumetra_product PRIVATE -fno-rtti)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

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

add_executable(Lumetra WIN32 res/Lumetra.rc)
target_include_directories(Lumetra PRIVATE ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(Lumetra PRIVATE lumetra_product ksproxy strmiids ksuser ole32 oleaut32 uuid cfgmgr32 avicap32
                      advapi32)

# Test-only: reports Lumetra's window to the end-to-end tests under Wine.
add_executable(probe tests/wine/probe.cpp)
