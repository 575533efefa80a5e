// Resource ids of Install.exe.
#pragma once

// ---- Run sequence, background window and progress ------------------------

// ---- Setup wizard ---------------------------------------------------------
