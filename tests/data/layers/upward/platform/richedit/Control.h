#pragma once
// The control: above the RTF reader.
