tavi_test(tst_brain_scheduler tst_brain_scheduler.cpp)

tavi_test(tst_brain_window tst_brain_window.cpp)
tavi_test(tst_toggle_channel tst_toggle_channel.cpp)
