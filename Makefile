# Two entry points: `make run` sets up and starts the player, `make test`
# sets up and runs every test. Both work on a fresh Debian 12 machine as root.

BUILD ?= build
# The demo disc with its music, synthesised by the build (tools/demo_disc_gen).
DEMO_CUE = $(abspath $(BUILD))/demo/demo.cue

.PHONY: all deps configure build run test bench bench-player bench-digital clean format

all: build

deps:
	@scripts/install-deps

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja -DZCD_WERROR=ON

build: configure
	@cmake --build $(BUILD)

# With no CD drive the bundled demo disc is loaded into a virtual drive.
# Without a display the player runs on a private virtual screen.
run: build
	@scripts/run-player $(BUILD)/zcd $(DEMO_CUE) $(ARGS)

test: build
	@scripts/run-tests $(BUILD)

# Speed figures: the database, import and export benchmarks (generated
# databases are cached under /tmp/zcd-bench; the first run builds them) and
# the CDDB query against servers on the loopback address.
bench: configure
	@cmake --build $(BUILD) --target zcd_db_bench zcd_import_export_bench zcd_cddb_query_bench zcd_library_bench zcd_library_page_bench
	@$(BUILD)/bench/zcd_db_bench
	@$(BUILD)/bench/zcd_import_export_bench
	@$(BUILD)/bench/zcd_cddb_query_bench
	@$(BUILD)/bench/zcd_library_bench
	@$(BUILD)/bench/zcd_library_page_bench

# CPU used by the running player on a virtual screen: 60 s each with a
# scrolling title, with nothing to scroll, and with the idle sprite.
bench-player: build
	@bench/player_cpu.sh $(BUILD) 60

# Digital playback through a private sound server: CPU, memory and the time
# from Play to the first samples.
bench-digital: build
	@cmake --build $(BUILD) --target zcd_digital_latency
	@bench/digital_playback.sh $(BUILD) 30

clean:
	rm -rf $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i
