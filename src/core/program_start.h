#pragma once

// The program's entry: refuses a second running instance, fills in the
// program's identity and hands over to the splash window; returns once the
// splash is unloaded.
void Main();
