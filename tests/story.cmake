talmyr_test(test_story test_story.cpp)
