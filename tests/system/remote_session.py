"""A script as a test engineer writes it: two PyVISA clients on the window's SCPI port.

Usage: remote_session.py PORT. Exits 0 when every check holds, else names the first that failed.
"""
import sys
import time

import pyvisa

POLLS = 300          # at 0.1 s each, far longer than the readings need
rm = pyvisa.ResourceManager('@py')


def client():
    resource = rm.open_resource(f'TCPIP::127.0.0.1::{sys.argv[1]}::SOCKET',
                                read_termination='\n', write_termination='\n')
    resource.timeout = 20000
    return resource


def check(condition, what):
    if not condition:
        sys.exit(f'FAILED: {what}')


def poll(query, accept):
    answer = None
    for _ in range(POLLS):
        answer = query()
        if accept(answer):
            return answer
        time.sleep(0.1)
    sys.exit(f'FAILED: still {answer!r}')


a, b = client(), client()
identity = a.query('*IDN?').split(',')
check(identity[:3] == ['TESSEL', 'LUMA4200', 'SIM00001'], identity)
check(a.query('SYST:CONN?') == '1', 'connected')

# Each client addresses its own channel; errors go to the client's own queue.
b.write('INST:NSEL 2')
b.write('VOLT 7')
check(b.query('VOLT?') == '7.00', 'CH2 set point')
check((b.query('INST?'), a.query('INST?')) == ('CH2', 'CH1'), 'channels per client')
b.write('VOLT:BOGUS 1')
a.write('CURR 9')
check(a.query('SYST:ERR?').startswith('-222,'), 'out of range')
check(a.query('SYST:ERR?') == '0,"No error"', 'queue emptied')
check(b.query('SYST:ERR?').startswith('-113,'), 'undefined header')

# CH1 at 5 V / 0.5 A with the output on: the simulator measures 5 V.
for line in ('INST CH1', 'VOLT 5', 'CURR 0.5', 'OUTP ON'):
    a.write(line)
check(a.query('OUTP?') == '1', 'output on')
poll(lambda: int(a.query('DATA:POIN?')), lambda points: points > 0)
poll(lambda: float(a.query('MEAS:VOLT?')), lambda volts: abs(volts - 5.0) < 0.1)
a.write('DATA:READ? 1,1')
check(len(a.read().split(',')) == 13, 'a session log line')

# A line over 4 KiB is dropped with an error; the client goes on.
b.write_raw(b'X' * 5000 + b'\n')
check(b.query('SYST:ERR?').startswith('-223,'), 'too much data')
a.close()
b.close()
