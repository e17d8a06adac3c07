# Hardening: the input storm (closing the window from every wait and bad environments are in
# test_platform).
talmyr_test(test_storm test_storm.cpp)
