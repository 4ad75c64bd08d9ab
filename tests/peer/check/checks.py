"""What the checker's end-to-end scripts share: one check as a process in a network namespace of its
own, and the verdicts of its JSON reports."""
import json
import os
import subprocess

OWN_NETWORK = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'support', 'own-network')


def check(peer, scenarios, unit, report, lockstep):
    """Starts `zuv-peer check` of `scenarios` against the unit started by `unit`; its output is piped."""
    command = [OWN_NETWORK, peer, 'check', '--start-wait', '5s', '--start', unit, '--json', report] + scenarios
    if lockstep:
        command.insert(3, '--lockstep')
    return subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def verdicts(reports):
    """{(scenario file, check number, check name): verdict} over the JSON reports."""
    found = {}
    for report in reports:
        with open(report) as file:
            for scenario in json.load(file)['scenarios']:
                for number, result in enumerate(scenario['checks']):
                    found[(os.path.basename(scenario['file']), number, result['name'])] = result['verdict']
    return found


def differences(wall, lockstep):
    """Lines naming every check whose verdicts differ between the clocks."""
    return ['verdicts differ: %s check %d (%s): wall clock %s, lock-step %s'
            % (key[0], key[1] + 1, key[2], wall.get(key), lockstep.get(key))
            for key in sorted(set(wall) | set(lockstep)) if wall.get(key) != lockstep.get(key)]
