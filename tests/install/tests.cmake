tavi_test(tst_install_window tst_install_window.cpp)
# Both read the PE files that tools/make_pe_files.py writes into the build tree.
foreach(t tst_file_version_info tst_browser_check)
    tavi_test(${t} ${t}.cpp)
    add_dependencies(${t} tavi_pe_files)
    target_compile_definitions(${t} PRIVATE TAVI_PE_FILES="${TAVI_PE_FILES}")
endforeach()
