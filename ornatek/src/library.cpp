// The shared object Ornatek. Its hosts reach it through the control class
// and the self-registration exports, which come with the control; until then
// it carries the library's code and exports nothing.
