# Tabulon: `make run` builds and starts the program, `make test` runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps build run test bench clean

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

# Timings against plain tools on a 100,000-card demo database (made once).
bench: build
	@test -d $(BUILD)/bench-data/Demo100k || $(BUILD)/tabulon-cli demo $(BUILD)/bench-data/Demo100k --cards 100000
	sh bench/compare.sh $(BUILD)/bench-data/Demo100k $(BUILD)

# Removes what the build made; the databases created in $(BUILD) stay.
clean:
	@if [ -f $(BUILD)/CMakeCache.txt ]; then cmake --build $(BUILD) --target clean; fi
