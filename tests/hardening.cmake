# Hardening: the input storm, its window closed at random moments (machines without sound or pads
# are in test_platform).
talmyr_test(test_storm test_storm.cpp)
