# The test programs built and run under ThreadSanitizer: those that drive one engine, its services
# and its service manager from several threads. Sourced by scripts/test and run-tests.sh.
tsan_tests=(test_dvb_engine test_dvb_service test_base)
tsan_regex="^($(IFS='|'; echo "${tsan_tests[*]}"))\$"
