-- Central database of Vondrix Online: tables and the two accounts the program uses.
-- Load as an administrator on an empty server; db/seed.sql fills it afterwards.

CREATE DATABASE vondrix_mijnPHP CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci;
USE vondrix_mijnPHP;

-- Forum accounts; one account serves the forum and the game.
CREATE TABLE phpbb_users (
    user_id INT NOT NULL PRIMARY KEY,
    username VARCHAR(255) NOT NULL,
    user_password VARCHAR(40) NOT NULL DEFAULT '',
    user_email VARCHAR(255) NOT NULL DEFAULT '',
    user_from VARCHAR(100) NOT NULL DEFAULT '',
    locatie VARCHAR(20) NULL DEFAULT NULL,
    INDEX idx_username (username),
    INDEX idx_locatie (locatie)
) ENGINE=InnoDB;

-- Open games. The columns of the developer command "create" come first.
CREATE TABLE vdrx_servers (
    serverID INT UNSIGNED AUTO_INCREMENT NOT NULL PRIMARY KEY,
    IPaddress VARCHAR(255) NOT NULL,
    IPport VARCHAR(20) NOT NULL,
    IPping VARCHAR(20) NOT NULL,
    user VARCHAR(255) NOT NULL,
    description VARCHAR(255) NOT NULL,
    curPlayers VARCHAR(4) NOT NULL,
    maxPlayers VARCHAR(4) NOT NULL,
    version VARCHAR(20) NOT NULL,
    starttime VARCHAR(20) NULL,
    serverpassword VARCHAR(255) NULL,
    active CHAR(1) NULL,
    startdate VARCHAR(20) NULL,
    country VARCHAR(100) NULL,
    gtype VARCHAR(10) NULL,
    password VARCHAR(3) NULL,
    quizlength VARCHAR(20) NULL,
    INDEX idx_address_port (IPaddress, IPport)
) ENGINE=InnoDB;

-- The trivia question bank.
CREATE TABLE vdrx_trivia (
    questionnr INT NOT NULL PRIMARY KEY,
    question TEXT NOT NULL,
    answ1 VARCHAR(255) NULL,
    answ2 VARCHAR(255) NULL,
    answ3 VARCHAR(255) NULL,
    answ4 VARCHAR(255) NULL,
    answ5 VARCHAR(255) NULL,
    answ6 VARCHAR(255) NULL,
    answ7 VARCHAR(255) NULL,
    answ8 VARCHAR(255) NULL,
    answ9 VARCHAR(255) NULL,
    answ10 VARCHAR(255) NULL,
    answ11 VARCHAR(255) NULL,
    answ12 VARCHAR(255) NULL,
    answ13 VARCHAR(255) NULL,
    answ14 VARCHAR(255) NULL,
    answ15 VARCHAR(255) NULL,
    aantal TINYINT NOT NULL,
    active TINYINT NOT NULL DEFAULT 1,
    poster VARCHAR(255) NOT NULL DEFAULT 'vondrix',
    fastest VARCHAR(255) NOT NULL DEFAULT 'nobody',
    fastesttime VARCHAR(20) NOT NULL DEFAULT '100',
    INDEX idx_fastest (fastest),
    INDEX idx_poster (poster)
) ENGINE=InnoDB;

-- Questions posted by players, waiting for review.
CREATE TABLE vdrx_triviaposts (
    question TEXT NOT NULL,
    aantal TINYINT NOT NULL,
    poster VARCHAR(255) NOT NULL,
    answ1 VARCHAR(255) NULL,
    answ2 VARCHAR(255) NULL,
    answ3 VARCHAR(255) NULL,
    answ4 VARCHAR(255) NULL,
    answ5 VARCHAR(255) NULL,
    answ6 VARCHAR(255) NULL,
    answ7 VARCHAR(255) NULL,
    answ8 VARCHAR(255) NULL,
    answ9 VARCHAR(255) NULL,
    answ10 VARCHAR(255) NULL,
    answ11 VARCHAR(255) NULL,
    answ12 VARCHAR(255) NULL,
    fastest VARCHAR(255) NOT NULL DEFAULT 'nobody'
) ENGINE=InnoDB;

-- Lobby chat. messageID numbers the lines in the order they are inserted, whatever
-- the server's clock does; the lobby reads the new lines by it. A table made
-- without it (the program then rereads the whole chat at every poll) gets it with
--   ALTER TABLE vdrx_messages ADD messageID BIGINT UNSIGNED NOT NULL AUTO_INCREMENT PRIMARY KEY;
CREATE TABLE vdrx_messages (
    van VARCHAR(255) NOT NULL,
    naar VARCHAR(255) NOT NULL DEFAULT 'all',
    bericht TEXT NOT NULL,
    servertime DATETIME NOT NULL,
    messageID BIGINT UNSIGNED NOT NULL AUTO_INCREMENT PRIMARY KEY,
    INDEX idx_servertime (servertime)
) ENGINE=InnoDB;

-- Personal notices; the operators add the rows.
CREATE TABLE vdrx_systemmessages (
    van VARCHAR(255) NOT NULL,
    bericht TEXT NOT NULL,
    naar VARCHAR(255) NOT NULL,
    gelezen VARCHAR(3) NOT NULL DEFAULT 'nee',
    INDEX idx_naar (naar)
) ENGINE=InnoDB;

-- Version gate. Exactly three columns: "SELECT * , now()" puts the time in column 3.
CREATE TABLE vdrx_versions (
    version VARCHAR(20) NOT NULL PRIMARY KEY,
    status VARCHAR(10) NOT NULL,
    note VARCHAR(255) NULL
) ENGINE=InnoDB;

-- Login log; date and time as the player's PC writes them.
CREATE TABLE vdrx_logins (
    username VARCHAR(255) NOT NULL,
    date VARCHAR(40) NOT NULL,
    time VARCHAR(40) NOT NULL
) ENGINE=InnoDB;

-- Problem reports. The columns of the developer command come first.
CREATE TABLE vdrx_reports (
    serverID INT UNSIGNED AUTO_INCREMENT NOT NULL PRIMARY KEY,
    username VARCHAR(255) NOT NULL,
    emailaddress VARCHAR(255) NOT NULL,
    message TEXT NOT NULL,
    date VARCHAR(40) NOT NULL,
    version VARCHAR(20) NULL
) ENGINE=InnoDB;

-- Advertisements for the banner.
CREATE TABLE vdrx_reclame (
    locatie VARCHAR(255) NOT NULL,
    url VARCHAR(255) NOT NULL,
    reclametype VARCHAR(40) NULL,
    country VARCHAR(100) NOT NULL DEFAULT 'ALL',
    INDEX idx_country (country)
) ENGINE=InnoDB;

-- The account every player's program uses. Its password is in every copy of the
-- program, so it gets only what the program's statements need: no DELETE, no
-- CREATE or DROP, updates only of the columns the program changes.
CREATE USER 'vondrix_mpclien'@'127.0.0.1' IDENTIFIED BY 'GRINTALvoskemb';
CREATE USER 'vondrix_mpclien'@'localhost' IDENTIFIED BY 'GRINTALvoskemb';

GRANT SELECT, INSERT ON vondrix_mijnPHP.phpbb_users TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT UPDATE (locatie) ON vondrix_mijnPHP.phpbb_users TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT SELECT, INSERT ON vondrix_mijnPHP.vdrx_servers TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT UPDATE (active, curPlayers) ON vondrix_mijnPHP.vdrx_servers TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT SELECT ON vondrix_mijnPHP.vdrx_trivia TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT UPDATE (fastest, fastesttime) ON vondrix_mijnPHP.vdrx_trivia TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT INSERT ON vondrix_mijnPHP.vdrx_triviaposts TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT SELECT, INSERT ON vondrix_mijnPHP.vdrx_messages TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT SELECT ON vondrix_mijnPHP.vdrx_systemmessages TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT UPDATE (gelezen) ON vondrix_mijnPHP.vdrx_systemmessages TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT SELECT ON vondrix_mijnPHP.vdrx_versions TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT INSERT ON vondrix_mijnPHP.vdrx_logins TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT INSERT ON vondrix_mijnPHP.vdrx_reports TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';
GRANT SELECT ON vondrix_mijnPHP.vdrx_reclame TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost';

-- The account of the connection test: it may only read the version table.
CREATE USER 'vondrix_test'@'127.0.0.1' IDENTIFIED BY 'wembik';
CREATE USER 'vondrix_test'@'localhost' IDENTIFIED BY 'wembik';
GRANT SELECT ON vondrix_mijnPHP.vdrx_versions TO 'vondrix_test'@'127.0.0.1', 'vondrix_test'@'localhost';
