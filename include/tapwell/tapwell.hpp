// tapwell: binary shift-register sequences over GF(2): primitive polynomials,
// M-sequences, Gold sequences, periodic cross-correlation over all phases,
// preferred pairs. Everything in namespace tapwell.
//
// Conventions, everywhere: a polynomial is the characteristic polynomial of
// a register's output, written as the window writes it ("10011" = x^4 + x + 1;
// other notations in polynomial.hpp); a register's state has bit 0 as the
// stage output first. Long calls take RunOptions (run_options.hpp): a stop
// token, threads, progress. Errors are exceptions derived from tapwell::Error
// (errors.hpp).
#pragma once

#include "tapwell/correlation.hpp"
#include "tapwell/errors.hpp"
#include "tapwell/families.hpp"
#include "tapwell/hdl.hpp"
#include "tapwell/pairs.hpp"
#include "tapwell/partner_family.hpp"
#include "tapwell/polynomial.hpp"
#include "tapwell/preferred_values.hpp"
#include "tapwell/presets.hpp"
#include "tapwell/recurrence.hpp"
#include "tapwell/registers.hpp"
#include "tapwell/run_options.hpp"
#include "tapwell/scrambling.hpp"
#include "tapwell/search.hpp"
#include "tapwell/sequences.hpp"
#include "tapwell/streams.hpp"
#include "tapwell/version.hpp"
