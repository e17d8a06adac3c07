# The real program in a real X window (under Xvfb), driven by xdotool, compared with the pictures
# the headless harness draws at the same moments. Skipped when Xvfb or xdotool is missing.
add_test(NAME test_xwindow
  COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/test_xwindow.py
          $<TARGET_FILE:talmyr> $<TARGET_FILE:moments> ${CMAKE_CURRENT_BINARY_DIR}/xwindow
          ${CMAKE_SOURCE_DIR}/desktop/org.talmyr.talmyr.desktop)
set_tests_properties(test_xwindow PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
