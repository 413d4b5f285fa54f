# Windows build: MinGW-w64 against the real SDK headers and import libraries.
# Everything links statically so that only Windows system DLLs are needed.
enable_language(RC)
add_compile_options(-ffunction-sections -fdata-sections)
target_compile_options(lumetra_product PRIVATE -fno-rtti -fstack-protector-strong)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

# The same commit builds the same bytes in any folder at any time: no build
# paths in the binaries, and the time stamps the linker writes taken from
# the commit (SOURCE_DATE_EPOCH, as set, else the commit's time, else a
# fixed one outside a git checkout).
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                    OUTPUT_VARIABLE SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
        set(SOURCE_DATE_EPOCH 1767225600) # 2026-01-01
    endif()
endif()
set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_C_LINKER_LAUNCHER})

# Import libraries made from module definitions (names in their 32-bit
# stdcall form). The program's DLLs that Windows does not protect as
# KnownDLLs - ksproxy.ax, cfgmgr32.dll and avicap32.dll - are delay-loaded:
# none is loaded before the program has restricted the search for DLLs to
# the system folder (control/SystemDlls.h).
if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES dlltool REQUIRED)
endif()
# Makes lib<name>_<kind>.a from cmake/imports/<name>.def, or from the .def
# given third; kind is "import" or "delay". Sets <name>_thunks to the
# symbols of the delay-load thunks.
function(import_library name kind)
    set(source ${CMAKE_SOURCE_DIR}/cmake/imports/${name}.def)
    if(ARGC GREATER 2)
        set(source ${ARGV2})
    endif()
    file(READ ${source} definition)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
        string(REGEX REPLACE "@[0-9]+" "" definition "${definition}")
    endif()
    file(WRITE ${CMAKE_BINARY_DIR}/imports/${name}.def "${definition}")
    set(library ${CMAKE_BINARY_DIR}/imports/lib${name}_${kind}.a)
    if(kind STREQUAL "delay")
        set(output -y ${library})
    else()
        set(output -l ${library})
    endif()
    add_custom_command(
        OUTPUT ${library}
        COMMAND ${CMAKE_DLLTOOL} --kill-at -d ${CMAKE_BINARY_DIR}/imports/${name}.def ${output}
        DEPENDS ${source}
        COMMENT "Generating the ${kind} library of ${name}")
    add_custom_target(${name}_${kind}_library DEPENDS ${library})
    add_library(${name}_${kind} STATIC IMPORTED GLOBAL)
    set_target_properties(${name}_${kind} PROPERTIES IMPORTED_LOCATION ${library})
    add_dependencies(${name}_${kind} ${name}_${kind}_library)

    string(REGEX MATCHALL "\n[ \t]+[A-Za-z_][A-Za-z0-9_@]*" exports "${definition}")
    set(thunks)
    foreach(export ${exports})
        string(STRIP "${export}" export)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            set(export _${export})
        endif()
        list(APPEND thunks ${export})
    endforeach()
    set(${name}_thunks ${thunks} PARENT_SCOPE)
endfunction()

# A delay-loaded function's slot starts out pointing at its thunk, which
# loads the DLL. The i686 linker takes a thunk that no code calls directly
# for an ordinary import's jump stub and drops it, leaving the slot 0, so
# every thunk is kept explicitly (scripts/test.sh checks the slots).
function(link_delay_loaded target name)
    target_link_libraries(${target} PRIVATE ${name}_delay)
    foreach(thunk ${${name}_thunks})
        target_link_options(${target} PRIVATE -Wl,--undefined=${thunk})
    endforeach()
endfunction()

import_library(ksproxy import) # for the benchmark's baseline, which loads it as usual
set(NOT_KNOWN_DLLS ksproxy cfgmgr32 avicap32)
foreach(dll ${NOT_KNOWN_DLLS})
    import_library(${dll} delay)
endforeach()

# The stack protector's guard comes from cmake/stack_protector.c rather
# than libssp, whose guard set-up loads a cryptographic provider's DLL
# before the program starts.
add_executable(Lumetra WIN32 res/Lumetra.rc cmake/stack_protector.c)
target_include_directories(Lumetra PRIVATE ${CMAKE_SOURCE_DIR}/res ${GENERATED_DIR})
target_link_libraries(Lumetra PRIVATE lumetra_product strmiids ksuser ole32 oleaut32 uuid advapi32)
foreach(dll ${NOT_KNOWN_DLLS})
    link_delay_loaded(Lumetra ${dll})
endforeach()
target_link_libraries(Lumetra PRIVATE delayimp)

# Signing, when a certificate is given: with LUMETRA_SIGN_PFX (a PKCS#12
# file) and LUMETRA_SIGN_PASSWORD set when configuring and when building,
# Lumetra.exe, the uninstaller and the installer are signed (cmake/sign.sh,
# which reads the password as it signs, so that no build file holds it).
if(DEFINED ENV{LUMETRA_SIGN_PFX} AND DEFINED ENV{LUMETRA_SIGN_PASSWORD})
    find_program(OSSLSIGNCODE osslsigncode REQUIRED)
    set(SIGN ${CMAKE_SOURCE_DIR}/cmake/sign.sh)
    set(NSIS_SIGN -DSIGN=${SIGN})
    add_custom_command(TARGET Lumetra POST_BUILD COMMAND ${SIGN} $<TARGET_FILE:Lumetra> VERBATIM)
    message(STATUS "Signing Lumetra.exe, its uninstaller and installer with $ENV{LUMETRA_SIGN_PFX}")
else()
    set(NSIS_SIGN)
    message(STATUS "Building unsigned: set LUMETRA_SIGN_PFX and LUMETRA_SIGN_PASSWORD to sign")
endif()

# Test-only: what the import check must reject (a delay slot left empty, a
# name Wine's DLL does not export), linked without the thunks kept and
# without the hardening the linker otherwise gives.
import_library(faulty_imports delay ${CMAKE_SOURCE_DIR}/tests/imports/faulty_imports.def)
add_executable(faulty_imports WIN32 tests/imports/faulty_imports.c)
target_link_libraries(faulty_imports PRIVATE faulty_imports_delay delayimp)
target_link_options(faulty_imports PRIVATE -Wl,--disable-dynamicbase,--disable-nxcompat,--disable-reloc-section
                    $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>:-Wl,--disable-high-entropy-va>)

# Test-only: the platform facts, the source the host build runs on the
# simulated Windows, here run under Wine by the test command (tests/facts/),
# the device tree's and capture drivers' against the stand-ins.
add_executable(platform_facts tests/facts/platform_facts.cpp res/Lumetra.rc)
target_include_directories(platform_facts PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${GENERATED_DIR})
target_link_libraries(platform_facts PRIVATE strmiids ole32 oleaut32 uuid cfgmgr32 avicap32)

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

# The installer: the shipping one from the i686 build; from the x86_64 build,
# a test-only one that installs the x86_64 program, so that the installer
# tests cover both builds.
find_program(MAKENSIS makensis)
if(MAKENSIS)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(SETUP ${CMAKE_BINARY_DIR}/Lumetra-${PROJECT_VERSION}-setup.exe)
        set(SETUP_ARCH x86)
    else()
        set(SETUP ${CMAKE_BINARY_DIR}/Lumetra-${PROJECT_VERSION}-setup-x64-test.exe)
        set(SETUP_ARCH x64)
    endif()
    add_custom_command(
        OUTPUT ${SETUP}
        COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DARCH=${SETUP_ARCH} -DEXE=$<TARGET_FILE:Lumetra> -DOUTFILE=${SETUP}
                ${NSIS_SIGN} ${CMAKE_SOURCE_DIR}/installer/Lumetra.nsi
        DEPENDS Lumetra installer/Lumetra.nsi res/Lumetra.ico
        COMMENT "Building the installer")
    add_custom_target(installer ALL DEPENDS ${SETUP})
endif()

# Test-only stand-ins for two system DLLs under Wine.
include(cmake/WineStandins.cmake)
