# The desktop: make install (PREFIX, default /usr/local; DESTDIR is honoured) and make package.
# xdg-user-dir names the pictures folder screenshots go to (the tests ask it).
EXTRA_PACKAGES += desktop-file-utils appstream mandoc xdg-user-dirs
.PHONY: install package

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (CPack) in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack -G DEB --config CPackConfig.cmake
	@ls $(BUILD)/packages/*.deb
