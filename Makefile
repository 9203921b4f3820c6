# Tabulon: `make run` builds and starts the program, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps build run test crash-test test-asan fuzz bench clean install deb package-deps package-check

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

# The crash test at length: a worker killed 20,000 times at random (400 in `make test`)
# and before every step of its creations, imports, deletions, backups and restores.
CRASH_KILLS ?= 20000
crash-test: build
	cd $(BUILD) && TABULON_CRASH_KILLS=$(CRASH_KILLS) QT_QPA_PLATFORM=offscreen tests/test_crash

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own folder.
ASAN_BUILD ?= build-asan
test-asan:
	@sh scripts/install-deps.sh
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTABULON_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	# The leak checker's walk of dynamic TLS crashes on this glibc once an image
	# plugin is loaded: that TLS is left out of its walk.
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen TABULON_CRASH_KILLS=200 \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Each fuzz target for 60 s with clang's libFuzzer, in its own folder.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = records captions value_files postal_lines department_lines journal_lines notes \
	numeric_masks pin_positions images csv vcard
fuzz:
	@sh scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABULON_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	sh fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Timings against plain tools on a 100,000-card demo database (made once).
bench: build
	@test -d $(BUILD)/bench-data/Demo100k || $(BUILD)/tabulon-cli demo $(BUILD)/bench-data/Demo100k --cards 100000
	sh bench/compare.sh $(BUILD)/bench-data/Demo100k $(BUILD)

# Removes what the build made; the databases created in $(BUILD) stay.
clean:
	@if [ -f $(BUILD)/CMakeCache.txt ]; then cmake --build $(BUILD) --target clean; fi
