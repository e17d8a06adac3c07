talmyr_test(playthrough test_playthrough.cpp)
