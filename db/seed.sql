-- Placeholder seed: the version row of this client. Any status other than
-- "ok" and "nok" lets the version gate pass without an update notice.
INSERT INTO vdrx_versions (version, status, note) VALUES ('4', 'current', 'this release');
