# Test-only: what the import check must reject (a delay slot left empty, a
# name Wine's DLL does not export), linked without the thunks kept and
# without the hardening the linker otherwise gives.
import_library(faulty_imports delay ${CMAKE_SOURCE_DIR}/tests/imports/faulty_imports.def)
add_executable(faulty_imports WIN32 tests/imports/faulty_imports.c)
target_link_libraries(faulty_imports PRIVATE faulty_imports_delay delayimp)
target_link_options(faulty_imports PRIVATE -Wl,--disable-dynamicbase,--disable-nxcompat,--disable-reloc-section
                    $<$<EQUAL:${CMAKE_SIZEOF_VOID_P},8>:-Wl,--disable-high-entropy-va>)
