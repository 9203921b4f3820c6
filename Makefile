# Tabulon: `make run` builds and starts the program, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build run test bench clean install deb package-deps package-check

all: build

deps:
	@sh scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	@sh scripts/install-deps.sh
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/CMakeCache.txt
	@sh scripts/install-deps.sh
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./tabulon

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs the programs, data, desktop entry, icons and metadata under
# $(DESTDIR)$(PREFIX) (make install PREFIX=/usr DESTDIR=/tmp/paquet).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package tabulon_VERSION_ARCH.deb in $(BUILD), on Debian's Qt packages.
deb: build package-deps
	cd $(BUILD) && cpack -G DEB

# What building and checking the package needs (not needed by make test):
# dpkg-shlibdeps for its dependencies, the validators and lintian.
package-deps:
	@sh scripts/install-deps.sh dpkg-dev file desktop-file-utils appstream lintian

# The validators of desktop entries, AppStream metadata and Debian packages.
package-check: deb
	desktop-file-validate packaging/fr.tabulon.Tabulon.desktop
	appstreamcli validate --no-net packaging/fr.tabulon.Tabulon.metainfo.xml
	lintian --fail-on error $(BUILD)/tabulon_*.deb

# Timings against plain tools on a 100,000-card demo database (made once).
bench: build
	@test -d $(BUILD)/bench-data/Demo100k || $(BUILD)/tabulon-cli demo $(BUILD)/bench-data/Demo100k --cards 100000
	sh bench/compare.sh $(BUILD)/bench-data/Demo100k $(BUILD)

# Removes what the build made; the databases created in $(BUILD) stay.
clean:
	@if [ -f $(BUILD)/CMakeCache.txt ]; then cmake --build $(BUILD) --target clean; fi
