#pragma once

// Hands the memory that the calling thread's heap holds freed back to the
// system (where the C library allows it): after a large load, its scratch
// memory would otherwise stay with the process.
void returnFreedMemory();
