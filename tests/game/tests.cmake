tavi_test(tst_memory_game tst_memory_game.cpp)
tavi_test(tst_memory_window tst_memory_window.cpp)
