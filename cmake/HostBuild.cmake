# Host build: the program against the simulated platform, tested with
# GoogleTest under AddressSanitizer and UndefinedBehaviorSanitizer.
set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${SANITIZERS})
add_link_options(${SANITIZERS})
# The sanitizer flags must reach the product library too.
target_compile_options(lumetra_product PRIVATE ${SANITIZERS})

add_library(winsim STATIC
    winsim/src/com.cpp
    winsim/src/devices.cpp
    winsim/src/driver.cpp
    winsim/src/guids.cpp
    winsim/src/kernel.cpp
    winsim/src/platform.cpp
)
target_include_directories(winsim PUBLIC ${CMAKE_SOURCE_DIR}/winsim/include)
target_link_libraries(lumetra_product PUBLIC winsim)

find_package(GTest REQUIRED)
enable_testing()
add_executable(lumetra_tests
    tests/PlatformTest.cpp
    tests/CameraPropertyTest.cpp
    tests/CameraModeTest.cpp
)
target_include_directories(lumetra_tests PRIVATE ${CMAKE_SOURCE_DIR}/winsim ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(lumetra_tests PRIVATE lumetra_product winsim GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(lumetra_tests)
