"""Waiting for what a test expects to happen, by polling it. Standard library only."""
import time


def wait_for(predicate, timeout=10.0, interval=0.05, what="condition", gave_up=None):
    """The predicate's first true value; fails once `timeout` seconds have passed, or at once when
    `gave_up` (called between tries) gives a reason that waiting longer is pointless, such as the
    process that should bring it having ended. Timeouts only bound how long a failing test waits."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        reason = gave_up() if gave_up else None
        if reason:
            raise AssertionError(f"gave up waiting for {what}: {reason}")
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
