# The project's commands; see README.md.
JOBS ?= 2
DEBUG_DIR := build/debug
RELEASE_DIR := build/release
FUZZ_DIR := build/fuzz
SAMPLE := examples/sample/Sample.csf
FUZZ_SECONDS ?= 60

.PHONY: setup test release package run bench fuzz format clean

setup:
	@scripts/setup.sh build

test: setup
	cmake -S . -B $(DEBUG_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPAGORA_SANITIZE=ON
	cmake --build $(DEBUG_DIR) -j $(JOBS)
	cd $(DEBUG_DIR) && ctest --output-on-failure -j $(JOBS)

release: setup
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGORA_TESTS=OFF -DPAGORA_BENCH=ON
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# A Debian package of the release build (build/release/pagora_*.deb).
package: release
	cd $(RELEASE_DIR) && cpack -G DEB

# Opens the sample comic in the editor; without a display it runs on a virtual
# one and saves a picture of the window instead.
run: release
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(RELEASE_DIR)/src/app/pagora $(SAMPLE); \
	else \
	  xvfb-run -a -s "-screen 0 1280x800x24" \
	    $(RELEASE_DIR)/src/app/pagora --screenshot build/pagora.png $(SAMPLE); \
	fi

bench: release
	$(RELEASE_DIR)/bench/pagora_bench
	$(RELEASE_DIR)/bench/pagora_images_bench
	$(RELEASE_DIR)/bench/pagora_package_bench
	$(RELEASE_DIR)/bench/pagora_editor_bench
	$(RELEASE_DIR)/bench/pagora_settings_bench

fuzz:
	@scripts/setup.sh fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DPAGORA_FUZZ=ON -DPAGORA_TESTS=OFF -DPAGORA_GUI=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for target in $(FUZZ_DIR)/fuzz/fuzz_*; do \
	  name=$$(basename $$target); \
	  mkdir -p $(FUZZ_DIR)/corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_DIR)/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
