# The desktop: make install (PREFIX, default /usr/local; DESTDIR is honoured) and make package.
EXTRA_PACKAGES += desktop-file-utils appstream mandoc
.PHONY: install package

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package (CPack) in $(BUILD)/packages.
package: build
	cd $(BUILD) && cpack -G DEB --config CPackConfig.cmake
	@ls $(BUILD)/packages/*.deb
