# Read by ctest after the discovered test lists: fixtures and locks of the
# streaming tests (the GUI tests share the player's settings and the capture
# device with the other player and playback tests).
set_tests_properties(${http_reader_tests_TESTS} PROPERTIES FIXTURES_REQUIRED "http_servers;engine_streams")
set_tests_properties(${http_player_tests_TESTS} PROPERTIES FIXTURES_REQUIRED "http_servers;player_gui"
    RESOURCE_LOCK "quavera_player;wave_capture")
