# Test-only: the platform facts, the source the host build runs on the
# simulated Windows, here run under Wine by the test command (tests/facts/),
# the device tree's and capture drivers' against the stand-ins.
add_executable(platform_facts tests/facts/platform_facts.cpp res/Lumetra.rc)
target_include_directories(platform_facts PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${GENERATED_DIR})
target_link_libraries(platform_facts PRIVATE strmiids ole32 oleaut32 uuid cfgmgr32 avicap32)
