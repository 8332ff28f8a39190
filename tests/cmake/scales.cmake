# The pictures and borders at fractional scales, where Qt rounds the
# controls' edges to device pixels, and at twice the pixels.
foreach(scale 1.25 1.5 2)
    add_test(NAME player_at_scale_${scale} COMMAND test_player --gtest_filter=ScreenScales.*)
    set_tests_properties(player_at_scale_${scale} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale}")
endforeach()
