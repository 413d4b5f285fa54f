# Host build: the program against the simulated platform, tested with
# GoogleTest under AddressSanitizer and UndefinedBehaviorSanitizer.
# (LUMETRA_SANITIZE=OFF builds the tests plain, for valgrind.)
option(LUMETRA_SANITIZE "Build the host tests under ASan and UBSan" ON)
set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(LUMETRA_FUZZ)
    list(APPEND SANITIZERS -fsanitize=fuzzer-no-link)
endif()
if(LUMETRA_SANITIZE OR LUMETRA_FUZZ)
    add_compile_options(${SANITIZERS})
    add_link_options(${SANITIZERS})
    # The product's library was defined before this file was read, so the
    # options above do not reach it; it is what most needs them.
    target_compile_options(lumetra_product PRIVATE ${SANITIZERS})
endif()

add_library(winsim STATIC
    winsim/camera/zivo_camera.cpp
    winsim/src/capture.cpp
    winsim/src/cfgmgr.cpp
    winsim/src/com.cpp
    winsim/src/devices.cpp
    winsim/src/dialogs.cpp
    winsim/src/guids.cpp
    winsim/src/kernel.cpp
    winsim/src/loader.cpp
    winsim/src/menus.cpp
    winsim/src/platform.cpp
    winsim/src/registry.cpp
    winsim/src/resources.cpp
    winsim/src/windows.cpp
)
target_include_directories(winsim PUBLIC ${CMAKE_SOURCE_DIR}/winsim/include)
target_link_libraries(lumetra_product PUBLIC winsim)

# The tests load the very resources the Windows build links in: windres
# compiles the script to a .res file, which is embedded in the test binary.
find_program(WINDRES NAMES x86_64-w64-mingw32-windres i686-w64-mingw32-windres windres REQUIRED)
set(RES_FILE ${CMAKE_BINARY_DIR}/Lumetra.res)
set(RES_SOURCE ${CMAKE_BINARY_DIR}/LumetraRes.cpp)
add_custom_command(
    OUTPUT ${RES_FILE}
    COMMAND ${WINDRES} -O res -I ${CMAKE_SOURCE_DIR}/res -I ${GENERATED_DIR} ${CMAKE_SOURCE_DIR}/res/Lumetra.rc -o ${RES_FILE}
    DEPENDS res/Lumetra.rc res/resource.h res/Lumetra.ico ${GENERATED_DIR}/version.h ${GENERATED_DIR}/Lumetra.manifest
    COMMENT "Compiling the resources")
add_custom_command(
    OUTPUT ${RES_SOURCE}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${RES_FILE} -DOUTPUT=${RES_SOURCE} -DNAME=g_lumetraRes
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFile.cmake
    DEPENDS ${RES_FILE} cmake/EmbedFile.cmake)

if(LUMETRA_FUZZ)
    # libFuzzer targets, one per kind of input from outside the program.
    foreach(target friendly_names devnode_properties capture_drivers registry_values driver_answers)
        add_executable(fuzz_${target} fuzz/${target}.cpp ${RES_SOURCE})
        target_include_directories(fuzz_${target} PRIVATE ${CMAKE_SOURCE_DIR}/winsim ${CMAKE_SOURCE_DIR}/fuzz)
        target_link_libraries(fuzz_${target} PRIVATE lumetra_product winsim)
        target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    endforeach()
    return()
endif()

find_package(GTest REQUIRED)
enable_testing()

# The platform facts on the simulated Windows; the Windows builds run the same
# source under Wine (tests/facts/).
add_executable(platform_facts tests/facts/platform_facts.cpp ${RES_SOURCE})
target_include_directories(platform_facts PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/winsim)
target_link_libraries(platform_facts PRIVATE winsim)
add_test(NAME platform_facts COMMAND platform_facts)
add_executable(lumetra_tests
    ${RES_SOURCE}
    tests/PlatformTest.cpp
    tests/CameraPropertyTest.cpp
    tests/CameraModeTest.cpp
    tests/CameraPresenceTest.cpp
    tests/CountryStoreTest.cpp
    tests/FaultSweepTest.cpp
    tests/FrameworkTest.cpp
    tests/LifecycleTest.cpp
    tests/LivePreviewTest.cpp
    tests/MainWindowTest.cpp
    tests/ModeCommandsTest.cpp
    tests/SoakTest.cpp
)
target_include_directories(lumetra_tests PRIVATE ${CMAKE_SOURCE_DIR}/winsim ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(lumetra_tests PRIVATE lumetra_product winsim GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(lumetra_tests)
