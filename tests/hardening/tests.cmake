# A program that saves in a loop, and the tests that kill it or run two of it at once.
add_executable(save_loop ${CMAKE_CURRENT_LIST_DIR}/save_loop.cpp)
target_link_libraries(save_loop PRIVATE tavi_logic)
tavi_test(tst_save_crash tst_save_crash.cpp)
add_dependencies(tst_save_crash save_loop)
target_compile_definitions(tst_save_crash PRIVATE TAVI_SAVE_LOOP="$<TARGET_FILE:save_loop>")
