# Read by ctest after the discovered test lists: the streaming tests' fixtures,
# which are lists (the discovery would split them into words), and the GUI
# tests' lock (the capture device's lock stands for the player's settings and
# instance marker too, as for the other player tests).
set_tests_properties(${http_reader_tests_TESTS} PROPERTIES FIXTURES_REQUIRED "http_servers;engine_streams")
set_tests_properties(${http_player_tests_TESTS} PROPERTIES FIXTURES_REQUIRED "http_servers;player_gui"
    RESOURCE_LOCK wave_capture)
