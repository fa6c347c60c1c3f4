tavi_test(tst_pinyin_parser tst_pinyin_parser.cpp)
tavi_test(tst_pinyin_display tst_pinyin_display.cpp)
tavi_test(tst_speech tst_speech.cpp)
tavi_test(tst_missing_sound_log tst_missing_sound_log.cpp)
tavi_test(tst_wav_file tst_wav_file.cpp)
tavi_test(tst_sound_windows tst_sound_windows.cpp)
tavi_test(tst_pinyin_display_window tst_pinyin_display_window.cpp)

# Real output through SDL's disk driver; no sound card needed.
tavi_test(tst_sdl_output tst_sdl_output.cpp)
set_tests_properties(tst_sdl_output PROPERTIES LABELS e2e)
tavi_test(tst_tone_windows tst_tone_windows.cpp)
