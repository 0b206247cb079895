#include "platform/failure.h"

#include <new>
#include <typeinfo>

bool IsFailure(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Failure&) {
        return true;
    } catch (const std::logic_error&) {
        return true;
    } catch (const std::bad_cast&) {
        return true;
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
        return false;
    }
}

Failure AsFailure(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return Failure(failure_number::OutOfMemory, "Out of memory");
    } catch (const std::out_of_range& e) {
        return Failure(failure_number::SubscriptOutOfRange, e.what());
    } catch (const std::exception& e) {
        return Failure(failure_number::InvalidArgument, e.what());
    } catch (...) {
        return Failure(failure_number::InvalidArgument, "Unknown failure");
    }
}
