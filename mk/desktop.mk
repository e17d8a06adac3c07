# The desktop: make install (PREFIX, default /usr/local; DESTDIR is honoured) and make package.
# xdg-user-dir names the pictures folder screenshots go to (the tests ask it); lintian checks the
# package, dpkg-shlibdeps (dpkg-dev) gives its dependencies their versions.
EXTRA_PACKAGES += desktop-file-utils appstream mandoc xdg-user-dirs lintian dpkg-dev
.PHONY: install package

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (CPack) in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack -G DEB --config CPackConfig.cmake
	@ls $(BUILD)/packages/*.deb
