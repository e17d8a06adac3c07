# make bench: frame costs, CPU use while playing, paces, start-up and memory, in one table.
# The benchmarks are built into the same build folder, switched on only here (TALMYR_BENCH), so a
# plain `make build` stays as quick as before until the first `make bench`.
.PHONY: bench bench-doc bench-programs

bench-programs: build
	@cmake -S . -B $(BUILD) -DTALMYR_BENCH=ON > $(BUILD)/bench-build.log 2>&1 && \
	  cmake --build $(BUILD) -j $(JOBS) --target talmyr_bench talmyr_probe \
	    >> $(BUILD)/bench-build.log 2>&1 || { cat $(BUILD)/bench-build.log; exit 1; }

bench: bench-programs web-moments
	@$(HEADLESS) /usr/bin/python3 bench/report.py $(BUILD)

# The same, and the figures with the machine they came from written to docs/performance.md.
bench-doc: bench-programs web-moments
	@$(HEADLESS) /usr/bin/python3 bench/report.py $(BUILD) --doc docs/performance.md
