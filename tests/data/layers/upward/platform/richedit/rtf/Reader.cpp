// Reaches up from the reader into the control: the layer check must refuse it.
#include "platform/richedit/Control.h"
