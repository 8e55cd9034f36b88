# End-to-end checks of the pieces under the monitor, each a program of its own run under Wine:
# the application framework, the port I/O driver, and the spooler stand-in the monitor tests use.

components_framework() {
  local exe="$E2E_BUILD_DIR/framework/check/framework_check.exe"
  [ -f "$exe" ] || fail "not built: $exe"
  wine "$exe" || fail "framework checks failed (exit $?)"
}

# Installs the built driver in the case's prefix and exercises its device: reads served, the
# write request and unknown requests refused, unload and a second start.
components_port_driver() {
  local sys="$E2E_BUILD_DIR/driver/hwinterface.sys" exe="$E2E_BUILD_DIR/driver/hwif_check.exe"
  [ -f "$sys" ] && [ -f "$exe" ] || fail "not built: $sys or $exe"
  local drivers="$WINEPREFIX/drive_c/windows/system32/drivers"
  mkdir -p "$drivers" && cp "$sys" "$drivers/hwinterface.sys" || fail "copying the driver"
  wine "$exe" || fail "driver checks failed (exit $?)"
}

components_spooler_stand_in() {
  local dir="$E2E_BUILD_DIR/tests/e2e/winspool_standin"
  "$E2E_LIB_DIR/winspool_standin/test_standin.sh" "$dir" "$E2E_CASE_DIR/standin" >"$E2E_CASE_DIR/standin.log" 2>&1
  local rc=$?
  cat "$E2E_CASE_DIR/standin.log"
  [ $rc -eq 0 ] || fail "stand-in self-check failed (exit $rc)"
}

e2e_register components_framework components_framework
e2e_register components_port_driver components_port_driver
e2e_register components_spooler_stand_in components_spooler_stand_in
