# The windows' pictures and borders on screens of more device pixels to a
# window's pixel: fractional scales, where Qt rounds the controls' edges to
# device pixels, and twice the pixels, where the larger drawings show.
foreach(scale 1.25 1.5 2)
    add_test(NAME player_at_scale_${scale} COMMAND test_player --gtest_filter=ScreenScales.*)
    set_tests_properties(player_at_scale_${scale} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale}" TIMEOUT 120)
endforeach()
