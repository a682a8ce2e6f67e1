-- Seed data of the central database: the stock trivia questions and the
-- version row of client version 4, three advertisements. No users.
-- Answers are lower case with digits for numbers; unused answer columns are ''.
-- fastest 'nobody' with fastesttime '100' means no record yet.

USE vondrix_mijnPHP;

INSERT INTO vdrx_versions (version, status, note)
VALUES ('4', 'current', 'latest release, no update notice');

-- geography
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (1, 'What is the capital city of Australia?', 'canberra', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (2, 'Which river is the longest in South America?', 'amazon', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (3, 'On which continent lies the Sahara desert?', 'africa', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (4, 'What is the capital of Canada?', 'ottawa', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (5, 'Which ocean lies between Africa and Australia?', 'indian', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (6, 'What is the highest mountain on Earth?', 'everest', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (7, 'In which country lies the desert city of Timbuktu?', 'mali', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (8, 'Which European country is shaped like a boot?', 'italy', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (9, 'What is the smallest country in the world by area?', 'vatican', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (10, 'Which narrow strait separates Spain from Morocco?', 'gibraltar', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (11, 'What is the capital of Japan?', 'tokyo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (12, 'How many states make up the United States of America?', '50', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (13, 'Which African country has the largest population?', 'nigeria', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (14, 'Which two countries share the Caribbean island of Hispaniola?', 'haiti', 'dominican republic', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (15, 'Leaving out the continents, which is the largest island on Earth?', 'greenland', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (16, 'Which great river flows through Cairo?', 'nile', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (17, 'What is the capital of Norway?', 'oslo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (18, 'In which US state can you visit the Grand Canyon?', 'arizona', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (19, 'Which is the largest lake in Africa?', 'victoria', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (20, 'Which city has the nickname The Big Apple?', 'new york', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (21, 'What is the capital of Argentina?', 'buenos aires', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (22, 'What is the largest country in the world by area?', 'russia', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (23, 'In which country can you find the Inca city of Machu Picchu?', 'peru', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (24, 'What is the capital of Egypt?', 'cairo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (25, 'What is the capital of Spain?', 'madrid', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (26, 'Which very salty lake between Israel and Jordan lets swimmers float easily?', 'dead sea', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (27, 'Which mountain range is seen as the border between Europe and Asia in Russia?', 'ural', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (28, 'Which is the longest river in Europe?', 'volga', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (29, 'Which is the largest ocean on Earth?', 'pacific', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (30, 'How many continents are there on Earth?', '7', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (31, 'What is the largest hot desert in the world?', 'sahara', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- science
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (32, 'What is the chemical symbol of gold?', 'au', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (33, 'How many planets circle our Sun?', '8', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (34, 'Which gas do plants take from the air to make their food?', 'carbon dioxide', 'co2', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (35, 'What is the hardest natural material?', 'diamond', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (36, 'Which planet is known as the Red Planet?', 'mars', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (37, 'At how many degrees Celsius does water boil at sea level?', '100', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (38, 'Which particle of an atom carries a negative charge?', 'electron', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (39, 'What is the chemical formula of water?', 'h2o', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (40, 'Which is the largest planet of our solar system?', 'jupiter', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (41, 'Which scientist came up with the theory of relativity?', 'einstein', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (42, 'Which force makes an apple fall to the ground?', 'gravity', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (43, 'What is the closest star to the Earth?', 'sun', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (44, 'How many bones are in the body of an adult human?', '206', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (45, 'Which organ pumps the blood around your body?', 'heart', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (46, 'Which chemical element has atomic number 1?', 'hydrogen', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (47, 'What is the chemical symbol of iron?', 'fe', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (48, 'Which metal is liquid at room temperature?', 'mercury', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (49, 'Which English scientist described the three laws of motion?', 'newton', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (50, 'Which vitamin does your skin make in sunlight?', 'd', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (51, 'At how many degrees Fahrenheit does water freeze?', '32', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (52, 'How many chromosomes are in a normal human body cell?', '46', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (53, 'Which planet is famous for its wide bright rings?', 'saturn', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (54, 'Which gas makes up most of the air we breathe?', 'nitrogen', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (55, 'What is the centre of an atom called?', 'nucleus', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (56, 'Which instrument measures air pressure?', 'barometer', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (57, 'What is the name of our own galaxy?', 'milky way', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (58, 'Which planet is closest to the Sun?', 'mercury', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (59, 'What is the chemical symbol of sodium?', 'na', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (60, 'How many teeth does an adult normally have, wisdom teeth included?', '32', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- history
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (61, 'In which year did the Second World War end?', '1945', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (62, 'Who was the first person to set foot on the Moon?', 'armstrong', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (63, 'In which year did the Berlin Wall fall?', '1989', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (64, 'Who was the first president of the United States?', 'washington', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (65, 'Which famous liner sank on its first voyage in 1912?', 'titanic', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (66, 'In which year did Columbus first reach the Americas?', '1492', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (67, 'In which country stand the pyramids of Giza?', 'egypt', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (68, 'Which French emperor lost the battle of Waterloo?', 'napoleon', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (69, 'In which year did the First World War begin?', '1914', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (70, 'Which British queen reigned for 70 years until 2022?', 'elizabeth', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (71, 'In which city was president John F Kennedy shot in 1963?', 'dallas', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (72, 'Which empire ruled from Constantinople for about a thousand years?', 'byzantine', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (73, 'Who painted the ceiling of the Sistine Chapel?', 'michelangelo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (74, 'Which Roman emperor gave his name to the wall across northern England?', 'hadrian', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (75, 'In which year did the French Revolution begin with the storming of the Bastille?', '1789', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (76, 'Who led the Soviet Union during the Second World War?', 'stalin', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (77, 'Which country gave the Statue of Liberty to the United States?', 'france', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (78, 'What was the name of the first satellite in space, launched in 1957?', 'sputnik', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (79, 'Which Jewish girl wrote a famous diary while hiding in Amsterdam?', 'anne frank', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (80, 'In which year was the Magna Carta sealed in England?', '1215', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (81, 'Who was the first woman to win a Nobel Prize?', 'curie', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (82, 'Whose expedition made the first voyage around the world, finished in 1522?', 'magellan', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (83, 'In which country were the ancient Olympic Games held?', 'greece', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (84, 'Which Egyptian queen was the lover of Julius Caesar and Mark Antony?', 'cleopatra', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (85, 'Which civilisation built the city of Machu Picchu?', 'inca', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (86, 'In which city did the Titanic begin its only voyage?', 'southampton', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (87, 'Who wrote the Communist Manifesto together with Friedrich Engels?', 'marx', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- music
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (88, 'Which band recorded the album Abbey Road?', 'beatles', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (89, 'How many strings does a normal guitar have?', '6', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (90, 'Which composer wrote the Ninth Symphony with the Ode to Joy?', 'beethoven', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (91, 'Which singer was called the King of Pop?', 'jackson', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (92, 'Which instrument usually has 88 keys?', 'piano', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (93, 'From which country does the pop group ABBA come?', 'sweden', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (94, 'Which artist sang Purple Rain?', 'prince', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (95, 'Which band had a hit with Bohemian Rhapsody?', 'queen', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (96, 'Which composer wrote the opera The Magic Flute?', 'mozart', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (97, 'How many lines does a musical staff have?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (98, 'In which English city were the Beatles formed?', 'liverpool', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (99, 'Who is the lead singer of the Rolling Stones?', 'jagger', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (100, 'Which singer was called the King of Rock and Roll?', 'elvis', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (101, 'Which music style from Jamaica made Bob Marley famous?', 'reggae', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (102, 'Which rapper played the lead in the film 8 Mile?', 'eminem', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (103, 'How many musicians play in a quartet?', '4', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (104, 'Which country is the home of flamenco?', 'spain', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (105, 'Which brass instrument changes its notes with a slide?', 'trombone', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (106, 'Which Austrian composer wrote The Blue Danube waltz?', 'strauss', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (107, 'What is the lowest male singing voice called?', 'bass', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (108, 'Which instrument with strings is played with a bow and held under the chin?', 'violin', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (109, 'Which city is the home of country music and the Grand Ole Opry?', 'nashville', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (110, 'Which singer released the albums 21 and 25?', 'adele', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (111, 'How many keys of a piano are black?', '36', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (112, 'Which band sang Smells Like Teen Spirit?', 'nirvana', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (113, 'Which Polish composer is famous for his piano nocturnes?', 'chopin', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- sport
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (114, 'How many players of one football team are on the field?', '11', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (115, 'In which sport do you make a slam dunk?', 'basketball', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (116, 'Every how many years are the Summer Olympic Games held?', '4', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (117, 'Which country won the first football World Cup in 1930?', 'uruguay', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (118, 'In which sport does the score love mean zero?', 'tennis', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (119, 'How many rings make up the Olympic symbol?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (120, 'Which Jamaican sprinter holds the world record on the 100 metres?', 'bolt', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (121, 'How long is a marathon, in whole kilometres?', '42', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (122, 'In which sport do players hit a shuttlecock?', 'badminton', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (123, 'Which country hosted the Summer Olympics of 2016?', 'brazil', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (124, 'How many points is a touchdown worth in American football?', '6', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (125, 'Which tennis tournament is played on grass in London?', 'wimbledon', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (126, 'In golf, what do you call one stroke under par on a hole?', 'birdie', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (127, 'How many players of a volleyball team are on the court?', '6', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (128, 'What colour is the jersey of the leader of the Tour de France?', 'yellow', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (129, 'In which sport can you throw a strike or a spare?', 'bowling', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (130, 'How many holes are played in a normal round of golf?', '18', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (131, 'In which country was sumo wrestling born?', 'japan', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (132, 'Which sport does Lionel Messi play?', 'football', 'soccer', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (133, 'How many squares are on a chess board?', '64', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (134, 'Which chess piece can only move diagonally?', 'bishop', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (135, 'In which sport do teams play for the Stanley Cup?', 'hockey', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (136, 'How many players does a basketball team have on the court?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (137, 'In which martial art do you earn a black belt and throw your opponent on a mat?', 'judo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (138, 'Which country has won the most football World Cups?', 'brazil', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- film
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (139, 'Who directed the films Jaws and E.T.?', 'spielberg', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (140, 'In The Lion King, what is the name of Simba''s father?', 'mufasa', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (141, 'Which school of magic does Harry Potter attend?', 'hogwarts', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (142, 'What is the name of the cowboy doll in Toy Story?', 'woody', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (143, 'Which actor played Jack in the 1997 film Titanic?', 'dicaprio', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (144, 'In Star Wars, who turns out to be Luke Skywalker''s father?', 'vader', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (145, 'What kind of animal is King Kong?', 'gorilla', 'ape', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (146, 'In which city lies the film district Hollywood?', 'los angeles', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (147, 'What is the name of the green ogre in the DreamWorks film of 2001?', 'shrek', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (148, 'What is the code number of the secret agent James Bond?', '007', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (149, 'Which actor played Forrest Gump?', 'hanks', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (150, 'What is the name of the talking snowman in Frozen?', 'olaf', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (151, 'Which silent film comedian created the character of the Tramp?', 'chaplin', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (152, 'What is the name of the little clownfish who gets lost in a Pixar film of 2003?', 'nemo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (153, 'In The Wizard of Oz, what is the name of Dorothy''s dog?', 'toto', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (154, 'Which film trilogy based on the books of Tolkien is set in Middle-earth?', 'lord of the rings', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (155, 'Which little alien wants to phone home in a film of 1982?', 'et', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (156, 'Which superhero hides behind the name Bruce Wayne?', 'batman', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (157, 'Which superhero is really the student Peter Parker?', 'spiderman', 'spider man', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (158, 'What is the name of the fairy who follows Peter Pan?', 'tinker bell', 'tinkerbell', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (159, 'In which film does Arnold Schwarzenegger say I''ll be back?', 'terminator', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (160, 'What is the golden statuette of the Academy Awards called?', 'oscar', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (161, 'Which Disney film of 1937 was the first full-length cartoon film of the studio?', 'snow white', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (162, 'What is the name of the Hobbit played by Elijah Wood in The Lord of the Rings?', 'frodo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- language
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (163, 'What is the plural of the word mouse?', 'mice', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (164, 'How many letters does the English alphabet have?', '26', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (165, 'Which language is spoken in Brazil?', 'portuguese', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (166, 'Which language has the most native speakers in the world?', 'mandarin', 'chinese', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (167, 'How do you say thank you in French?', 'merci', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (168, 'What is the Spanish word for cat?', 'gato', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (169, 'What do you call a word that means the same as another word?', 'synonym', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (170, 'What do you call a word that reads the same backwards, like level?', 'palindrome', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (171, 'Which letter is used most often in English?', 'e', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (172, 'Which Italian word means both hello and goodbye?', 'ciao', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (173, 'What is the German word for dog?', 'hund', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (174, 'What is the past tense of the verb to go?', 'went', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (175, 'Which language did the ancient Romans speak?', 'latin', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (176, 'How many vowels has the English alphabet, not counting y?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (177, 'What is the Dutch word for cheese?', 'kaas', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (178, 'What do you call a word made from the first letters of other words, like NATO?', 'acronym', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (179, 'Which alphabet begins with the letters alpha, beta and gamma?', 'greek', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (180, 'Which language do most people in Mexico speak?', 'spanish', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (181, 'What is the opposite of the word minimum?', 'maximum', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (182, 'What is the English word for the Dutch word fiets?', 'bicycle', 'bike', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (183, 'Which word for a greeting comes from the Hawaiian language?', 'aloha', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (184, 'How do you say one in Spanish?', 'uno', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (185, 'What is a young cat called?', 'kitten', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (186, 'What is the plural of the word child?', 'children', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- nature
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (187, 'What is the largest animal that has ever lived on Earth?', 'blue whale', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (188, 'How many legs does a spider have?', '8', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (189, 'Which sweet food do bees make from nectar?', 'honey', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (190, 'Which white bird is a symbol of peace?', 'dove', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (191, 'What is the fastest animal on land?', 'cheetah', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (192, 'How many legs does an insect have?', '6', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (193, 'What is a baby kangaroo called?', 'joey', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (194, 'What is the tallest animal in the world?', 'giraffe', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (195, 'Which animal is called the king of the jungle?', 'lion', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (196, 'What is the young of a frog called?', 'tadpole', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (197, 'Which tree grows acorns?', 'oak', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (198, 'Which flower is a famous symbol of the Netherlands?', 'tulip', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (199, 'What do you call a group of lions?', 'pride', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (200, 'Which African animal looks like a horse with black and white stripes?', 'zebra', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (201, 'How many hearts does an octopus have?', '3', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (202, 'Which plant is almost the only food of the giant panda?', 'bamboo', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (203, 'Which is the only mammal that can really fly?', 'bat', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (204, 'What is the largest bird in the world?', 'ostrich', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (205, 'Which Australian animal lives in eucalyptus trees and eats their leaves?', 'koala', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (206, 'On which continent do kangaroos live in the wild?', 'australia', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (207, 'What does a caterpillar grow into?', 'butterfly', 'moth', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (208, 'Which bird is famous for copying human speech?', 'parrot', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (209, 'How many arms does a starfish usually have?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (210, 'Which big cat has a coat of black spots called rosettes and lives in Africa and Asia?', 'leopard', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (211, 'What do you call an animal that eats only plants?', 'herbivore', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- food
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (212, 'Which country is the home of pizza?', 'italy', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (213, 'What is the main ingredient of guacamole?', 'avocado', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (214, 'Which fruit is dried to make raisins?', 'grape', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (215, 'In which dried seaweed are sushi rolls usually wrapped?', 'nori', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (216, 'Which nut is the main ingredient of marzipan?', 'almond', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (217, 'From which bean is tofu made?', 'soy', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (218, 'From which country does the rice dish paella come?', 'spain', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (219, 'Which yellow spice gives curry its colour?', 'turmeric', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (220, 'What is the main ingredient of hummus?', 'chickpea', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (221, 'Which vegetable makes you cry when you cut it?', 'onion', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (222, 'Which red fruit has its seeds on the outside?', 'strawberry', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (223, 'Which long thin pasta has a name meaning little strings?', 'spaghetti', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (224, 'Which drink is made from fermented grapes?', 'wine', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (225, 'Which country grows the most coffee?', 'brazil', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (226, 'What is the main ingredient of an omelette?', 'egg', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (227, 'Which cheese goes on a pizza margherita?', 'mozzarella', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (228, 'What do you call a dried plum?', 'prune', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (229, 'Which country is famous for its maple syrup?', 'canada', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (230, 'Which German city gave its name to the hamburger?', 'hamburg', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (231, 'Which fruit grows in bunches and is yellow when ripe?', 'banana', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (232, 'From which plant are chips and French fries made?', 'potato', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (233, 'What is the main ingredient of popcorn?', 'corn', 'maize', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (234, 'From which animal does bacon come?', 'pig', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (235, 'Which sweet food is made from cocoa beans?', 'chocolate', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- technology
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (236, 'What does the abbreviation CPU stand for?', 'central processing unit', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (237, 'Who founded Microsoft together with Paul Allen?', 'gates', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (238, 'Which company makes the iPhone?', 'apple', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (239, 'What does www stand for in a web address?', 'world wide web', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (240, 'In which year did the first iPhone come out?', '2007', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (241, 'What is the binary number 101 in decimal?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (242, 'How many bits make one byte?', '8', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (243, 'Which British scientist invented the World Wide Web?', 'berners lee', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (244, 'Which company develops the Android operating system?', 'google', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (245, 'What does the abbreviation USB stand for?', 'universal serial bus', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (246, 'Who received the first patent for the telephone in 1876?', 'bell', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (247, 'What does the abbreviation AI stand for?', 'artificial intelligence', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (248, 'Which programming language has the name of a large snake?', 'python', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (249, 'Which social network did Mark Zuckerberg start in 2004?', 'facebook', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (250, 'What does the abbreviation GPS stand for?', 'global positioning system', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (251, 'Which unit of power is named after a Scottish engineer famous for his steam engines?', 'watt', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (252, 'Which Japanese company brought out the Walkman?', 'sony', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (253, 'What does the abbreviation PC stand for?', 'personal computer', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (254, 'Which is the longest key on a computer keyboard?', 'spacebar', 'space bar', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (255, 'Which company made the PlayStation game console?', 'sony', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (256, 'Who built the first motor car with a petrol engine in 1886?', 'benz', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (257, 'Which brothers made the first powered aeroplane flight in 1903?', 'wright', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (258, 'What does the abbreviation RAM stand for?', 'random access memory', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- general
INSERT INTO vdrx_trivia
  (questionnr, question, answ1, answ2, answ3, answ4, answ5, answ6, answ7, answ8, answ9, answ10, answ11, answ12, answ13, answ14, answ15, aantal, active, poster, fastest, fastesttime)
VALUES
  (259, 'How many sides does a hexagon have?', '6', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (260, 'What is 12 times 12?', '144', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (261, 'What is the square root of 81?', '9', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (262, 'How many degrees are in a right angle?', '90', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (263, 'Who painted the Mona Lisa?', 'da vinci', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (264, 'Which Dutch painter cut off part of his own ear?', 'van gogh', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (265, 'How many minutes are there in one day?', '1440', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (266, 'How many days does a leap year have?', '366', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (267, 'Which letter is the Roman numeral for 50?', 'l', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (268, 'Which three colours are the traditional primary colours in painting?', 'red', 'yellow', 'blue', '', '', '', '', '', '', '', '', '', '', '', '', 3, 1, 'vondrix', 'nobody', '100'),
  (269, 'Which three colours are on the flag of Italy?', 'green', 'white', 'red', '', '', '', '', '', '', '', '', '', '', '', '', 3, 1, 'vondrix', 'nobody', '100'),
  (270, 'Which two colours are on the flag of Japan?', 'red', 'white', '', '', '', '', '', '', '', '', '', '', '', '', '', 2, 1, 'vondrix', 'nobody', '100'),
  (271, 'Who wrote the play Romeo and Juliet?', 'shakespeare', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (272, 'Who wrote the Harry Potter books?', 'rowling', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (273, 'In which city stands the Eiffel Tower?', 'paris', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (274, 'Which detective lives at 221B Baker Street?', 'holmes', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (275, 'What do you call a shape with eight sides?', 'octagon', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (276, 'What is the currency of Japan?', 'yen', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (277, 'Which currency do most countries of the European Union use?', 'euro', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (278, 'Who wrote the novel 1984?', 'orwell', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (279, 'Who wrote the novel Don Quixote?', 'cervantes', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (280, 'What is the nickname of the great bell in the clock tower of the Houses of Parliament in London?', 'big ben', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (281, 'What colour do you get when you mix blue and yellow?', 'green', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (282, 'How many hours are there in a week?', '168', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (283, 'How many seconds are there in one hour?', '3600', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (284, 'Which is the only month with 28 days in a normal year?', 'february', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (285, 'Who is the king of the gods in Greek myths?', 'zeus', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (286, 'Which metal is used most for electric wires?', 'copper', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (287, 'What is 15 plus 27?', '42', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100'),
  (288, 'How many sides does a pentagon have?', '5', '', '', '', '', '', '', '', '', '', '', '', '', '', '', 1, 1, 'vondrix', 'nobody', '100');

-- Advertisements: two for every country, one for the Netherlands. The pictures
-- are /images/<locatie>.jpg on the banner web server (scripts/bannerserver.sh).
INSERT INTO vdrx_reclame (locatie, url, reclametype, country)
VALUES
  ('quiznight', 'http://www.vondrix.net/quiznight', 'banner', 'ALL'),
  ('playlistshop', 'http://www.vondrix.net/playlists', 'banner', 'ALL'),
  ('nlcup', 'http://www.vondrix.net/nlcup', 'banner', 'Netherlands');
