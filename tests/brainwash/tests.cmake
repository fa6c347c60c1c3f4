tavi_test(tst_brain_scheduler tst_brain_scheduler.cpp)

tavi_test(tst_brain_window tst_brain_window.cpp)
tavi_test(tst_toggle_channel tst_toggle_channel.cpp)
# The desktop's shortcuts portal, played by a small program on a bus the test starts.
add_executable(fake_portal ${CMAKE_CURRENT_LIST_DIR}/fake_portal.cpp)
target_link_libraries(fake_portal PRIVATE tavi_ui)
tavi_test(tst_portal_shortcuts tst_portal_shortcuts.cpp)
target_compile_definitions(tst_portal_shortcuts PRIVATE FAKE_PORTAL="$<TARGET_FILE:fake_portal>")
