# Test-only: reports Lumetra's window to the end-to-end tests under Wine; the
# baselines of the benchmarks, a bare dialog from the same template and one
# that makes the calls Lumetra makes at start and per pick.
add_executable(probe tests/wine/probe.cpp)
add_executable(bare_dialog WIN32 tests/wine/bare_dialog.cpp res/Lumetra.rc)
target_include_directories(bare_dialog PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${GENERATED_DIR})
add_executable(bare_camera WIN32 tests/wine/bare_camera.cpp res/Lumetra.rc)
target_include_directories(bare_camera PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${GENERATED_DIR})
target_link_libraries(bare_camera PRIVATE ksproxy_import strmiids ksuser ole32 oleaut32 uuid)

# Test-only: what the planting test puts beside a copy of Lumetra.exe under
# the names of the system DLLs it uses (tests/wine/planting_test.sh).
add_library(planted MODULE tests/wine/planted/planted.c)
set_target_properties(planted PROPERTIES PREFIX "")

# Test-only: the virtual camera that lets the Wine tests drive the real
# camera path. Its capture filter's COM server and a ksproxy.ax that
# implements KsSynchronousDeviceControl are built for the program's own
# architecture; its kernel driver and control tool only for x86_64, the
# architecture of Wine's kernel.
set(VCAM tests/wine/vcam)
add_library(vcam_filter SHARED ${VCAM}/filter.c ${VCAM}/filter.def)
target_link_libraries(vcam_filter PRIVATE ole32 uuid)
add_library(vcam_ksproxy SHARED ${VCAM}/ksproxy.c ${VCAM}/ksproxy.def)
set(VCAM_TARGETS vcam_filter vcam_ksproxy)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def files name the exports as Windows does, without the stdcall
    # decoration the i686 compiler gives them.
    target_link_options(vcam_filter PRIVATE -Wl,--enable-stdcall-fixup)
    target_link_options(vcam_ksproxy PRIVATE -Wl,--enable-stdcall-fixup)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_library(vcam_driver SHARED ${VCAM}/driver.c)
    target_include_directories(vcam_driver PRIVATE ${CMAKE_FIND_ROOT_PATH}/include/ddk /usr/share/mingw-w64/include/ddk)
    target_link_options(vcam_driver PRIVATE -nostdlib -Wl,--subsystem,native -Wl,--entry,DriverEntry)
    target_link_libraries(vcam_driver PRIVATE ntoskrnl)
    add_executable(vcamctl ${VCAM}/vcamctl.c)
    target_include_directories(vcamctl PRIVATE ${CMAKE_SOURCE_DIR})
    set_target_properties(vcam_driver PROPERTIES OUTPUT_NAME vcam SUFFIX .sys)
    list(APPEND VCAM_TARGETS vcam_driver vcamctl)
endif()
set_target_properties(${VCAM_TARGETS} PROPERTIES
    PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vcam LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/vcam)
set_target_properties(vcam_filter PROPERTIES OUTPUT_NAME vcamfilter)
set_target_properties(vcam_ksproxy PROPERTIES OUTPUT_NAME ksproxy SUFFIX .ax)

# Test-only stand-ins for two system DLLs under Wine.
include(tests/wine/standins/standins.cmake)
