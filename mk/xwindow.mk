# The real window under Xvfb (tests/test_xwindow.py, run by ctest in `make check`): the X server,
# xdotool to press keys, xwd to capture the screen, xprop and xwininfo (x11-utils) to read the
# window's class, title and place; xauth for xvfb-run and imagemagick to look at a capture by hand
# (import -window root -crop 320x240+0+0 +repage shot.png).
EXTRA_PACKAGES += xvfb xauth xdotool x11-apps x11-utils imagemagick
