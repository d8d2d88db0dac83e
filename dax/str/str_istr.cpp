// IString services
